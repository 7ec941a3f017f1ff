# The record plan demo's first half (make run-plan), for "Orvane Media": from the
# launcher the settings hub, from the hub the record plan list, and there a new entry:
# once, today at 12:10 (ten minutes ahead, so the scheduler's wake-up, two minutes before
# it, is still to come), ten seconds of channel 3 on the antenna, recorded, then stand-by.
# Saving writes "schedulefile.she" and tells a running scheduler to read it again (the
# second half's scheduler reads it when it starts); then the program is closed. The
# windows fill the 1024 x 768 screen, so the skins' design places are the points clicked.
# It runs on the machine's manual clock.
clock manual 2024-03-01 12:00:00
window "#32770" "Orvane Media"
key CTRL+S
window "#32770" "Orvane Media_SetDlg"
wait 1000
log "the settings hub is open"
# The hub's record plan button.
clickat 216 392
window "#32770" "Orvane Media_RecordDlg"
wait 500
log "the record plan list is open"
# ADD
clickat 924 124
window "#32770" "Orvane Media_ScheduleDlg"
wait 500
log "the entry editor is open"
# Start 12:10.
clickat 390 224
key HOME
key SHIFT+END
type "12"
clickat 490 224
key HOME
key SHIFT+END
type "10"
# Ten seconds long.
clickat 390 272
key HOME
key SHIFT+END
type "0"
clickat 490 272
key HOME
key SHIFT+END
type "0"
clickat 590 272
key HOME
key SHIFT+END
type "10"
# The antenna, channel 3.
clickat 420 320
clickat 500 368
key HOME
key SHIFT+END
type "3"
# After the recording: nothing, shut the program, stand-by.
clickat 960 464
clickat 960 464
wait 200
screenshot plan_entry_editor
# SAVE
clickat 596 728
window "#32770" "Orvane Media_RecordDlg"
wait 500
log "the entry is in the plan"
screenshot plan_list
# The plan list's close button ends the program.
clickat 986 38
