# shellcheck shell=bash
# Machines the scenarios and the demo start from, described with the
# fixture_* functions (lib/fixtures.sh).

CAMERA_DESC='TX7105 USB Camera'

# An unrelated imaging device of the same maker, listed before the camera:
# the search meets it and passes over it.
scanner_device() {
  fixture_device id='USB\VID_5E3A&PID_0100\6&11A2B3C&0&1' class=image driver=0100 \
    hwids='USB\VID_5E3A&PID_0100&REV_0001|USB\VID_5E3A&PID_0100' \
    desc='Document Scanner' product='DS100'
}

# The camera as an imaging device with its driver loaded; its hardware IDs
# as Windows lists them, the revision first. Arguments as fixture_device's
# change what a scenario needs otherwise; the scenarios that pass them are
# in another file.
# shellcheck disable=SC2120
camera_device() {
  fixture_device id='USB\VID_5E3A&PID_2171\6&2C4A1F0E&0&3' class=image driver=0101 \
    hwids='USB\VID_5E3A&PID_2171&REV_0100|USB\VID_5E3A&PID_2171' \
    desc="$CAMERA_DESC" product='TX7105' "$@"
}

# Two cameras of one model are listed as "<name>" and "<name> #2"; a typical
# run (/d:2) must reach the second.
camera_sources() {
  fixture_camera first normal "$CAMERA_DESC"
  fixture_camera second normal "$CAMERA_DESC #2"
}

# The machine of a typical run.
typical_machine() {
  scanner_device
  camera_device
  camera_sources
}
