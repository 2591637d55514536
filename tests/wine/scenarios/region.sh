# shellcheck shell=bash
# The mains-frequency class through real time zones (TZ) and the prefix's
# user country.

# One region case: the time zone and the user's country, then the class
# that the program writes; switches after the class go on the command line
# after /d:2.
region_case() {
  local zone=$1 bias=$2 country=$3 class=$4
  shift 4
  echo "      region: $zone (bias $bias), $country $*"
  region_apply "$zone" "$country" "$bias" ||
    { check "region set-up" "bias=$bias iso3=$country" "did not take"; return; }
  TZ=$zone run_program /d:2 "$@"
  expect_exit 1
  expect_property_written second "$class"
  expect_silent
}

# Band A, UTC-01:00 to UTC+09:00: only TWN and KOR are 60 Hz.
scenario_region_band_a() {
  machine_begin
  typical_machine
  fixture_run_value 'T7105Cfg.exe /d:2'
  machine_ready
  region_case Asia/Seoul -540 KOR 2
  region_case Asia/Tokyo -540 JPN 1
  region_case Asia/Taipei -480 TWN 2
  region_case Asia/Shanghai -480 CHN 1
  region_case UTC 0 GBR 1
  region_case Atlantic/Azores 60 PRT 1
  region_case Atlantic/Azores 60 KOR 2
  # The administrator's word where the rule is wrong: western Japan.
  region_case Asia/Tokyo -540 JPN 2 /hz:60
  region_case Asia/Seoul -540 KOR 2 /hz:55
  expect_run_value absent
}

# Band B, UTC+09:30 to UTC+12:00: the same two countries.
scenario_region_band_b() {
  machine_begin
  typical_machine
  fixture_run_value 'T7105Cfg.exe /d:2'
  machine_ready
  region_case Australia/Adelaide -570 AUS 1
  region_case Australia/Adelaide -570 KOR 2
  region_case Pacific/Auckland -720 NZL 1
  region_case Pacific/Auckland -720 TWN 2
  expect_run_value absent
}

# Outside both bands the answer is 60 Hz whatever the country, unless the
# administrator says otherwise.
scenario_region_outside() {
  machine_begin
  typical_machine
  fixture_run_value 'T7105Cfg.exe /d:2'
  machine_ready
  region_case America/Noronha 120 PRT 2
  region_case America/New_York 300 DEU 2
  region_case America/Bogota 300 CAN 2
  region_case Pacific/Tongatapu -780 TON 2
  region_case America/Argentina/Buenos_Aires 180 ARG 1 /hz:50
  region_case America/Argentina/Buenos_Aires 180 ARG 2 /hz:50 /hz:0
  expect_run_value absent
}

# /hz:auto corrects the rule only for the user's country at one of its own
# zones: Argentina in Buenos Aires is 50 Hz; an Argentine user in New York
# gets the rule's 60 Hz.
scenario_region_auto() {
  machine_begin
  typical_machine
  fixture_run_value 'T7105Cfg.exe /d:2 /hz:auto'
  machine_ready
  region_case America/Argentina/Buenos_Aires 180 ARG 1 /hz:auto
  region_case America/New_York 300 ARG 2 /hz:auto
  expect_run_value absent
}
