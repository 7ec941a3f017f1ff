# The demo of "Orvane Media" (make run): the program starts on a fresh machine, writes
# its settings and channel files, and shows its launcher; the script reads the launcher,
# saves a picture of the screen and closes it.
window "#32770" "Orvane Media"
expect-text 1000 "Orvane Media"
log "the launcher is open"
screenshot launcher
wait 1500
click 2
