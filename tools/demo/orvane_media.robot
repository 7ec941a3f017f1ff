# The demo of "Orvane Media" (make run): the main road on a fresh machine. The launcher
# opens full screen; the TV window shows the stick's live picture; channels go up twice
# and down once with the channel on the picture; the volume goes up with its display;
# five seconds are recorded and a snapshot taken; full screen shows the docked control
# bar, which hides itself three seconds after the pointer stops; then back to the
# launcher, and close. It runs on the machine's manual clock, so each wait takes as long as
# the program needs to do what that time brings, not the time itself.
clock manual 2024-03-01 12:00:00
window "#32770" "Orvane Media"
expect-text 0 "Orvane Media"
log "the launcher is open"
screenshot 01_launcher
key CTRL+T
window "#32770" "Orvane Media_TVDlg"
wait 2000
log "the TV window shows the live picture"
screenshot 02_tv
key PAGEUP
wait 1500
key PAGEUP
wait 1500
screenshot 03_channel_up
key PAGEDOWN
wait 1500
log "channels went up and down"
screenshot 04_channel_down
key F10
wait 500
log "the volume went up"
screenshot 05_volume_up
key CTRL+R
wait 1000
screenshot 06_recording
wait 4000
key CTRL+S
wait 1500
log "five seconds recorded"
key F5
wait 1000
log "a snapshot taken"
screenshot 07_snapshot
key ALT+ENTER
wait 500
move 500 300
wait 500
log "full screen with the control bar docked"
screenshot 08_fullscreen_bar
wait 3500
log "the bar hid itself"
screenshot 09_fullscreen_bar_hidden
key ESCAPE
wait 500
key BACKSPACE
window "#32770" "Orvane Media"
wait 500
log "back at the launcher"
screenshot 10_back_at_launcher
close
