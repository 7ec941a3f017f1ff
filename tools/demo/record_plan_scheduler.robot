# The record plan demo's second half (make run-plan), for the scheduler "Calvendor" on the
# machine the first half left, a minute later: it reads the plan saved there. The sleep
# button stands the PC by; the scheduler's wake-up brings it back at 12:08, two minutes
# before the entry, and the scheduler starts "Orvane Media" for it, which records its ten
# seconds and asks for stand-by, which the scheduler carries out ten seconds later. The
# power button then wakes the PC, and both programs are closed.
clock manual 2024-03-01 12:01:00
window "#32770" "TALVIK Norlet Schedule"
sleep-button
expect-power standby
log "the PC stands by"
wait 630000
expect-power standby
log "woken for the entry, recorded, and standing by again"
power-button
wait 1000
window "#32770" "Orvane Media"
close
expect-no-window "#32770" "Orvane Media"
window "#32770" "TALVIK Norlet Schedule"
close
