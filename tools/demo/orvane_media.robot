# The demo of "Orvane Media" (make run): the program starts on a fresh machine, writes
# its settings and channel files, and shows its launcher; the script reads the launcher
# and closes it.
window "#32770" "Orvane Media"
expect-text 1000 "Orvane Media"
log "the launcher is open"
wait 1500
click 2
