# shellcheck shell=bash
# The prefix's registry as a scenario wants it: the Run value, the user's
# country, the device nodes (Image class and USB enumerator, driver keys) and
# the capture sources of the simulated camera. A state is described with the
# fixture_* functions and written as one REGEDIT4 file; lib/apply.sh imports
# it and checks that it took.

RUN_KEY='Software\Microsoft\Windows\CurrentVersion\Run'
STARTUP_APPROVED_KEY='Software\Microsoft\Windows\CurrentVersion\Explorer\StartupApproved\Run'
RUN_VALUE_NAME='T7105Cfg.exe'
GEO_KEY='Control Panel\International\Geo'
VIDEO_INPUT_CATEGORY='{860BB310-5D01-11D0-BD3B-00A0C911CE86}'
IMAGE_CLASS='{6BDD1FC6-810F-11D0-BEC7-08002BE2092F}'
USB_CLASS='{36FC9E60-C465-11CF-8056-444553540000}'
CAMERA_CLASS='{CA3E7AB9-B4C3-4AE6-8251-579EF933890F}'

# The camera DLL's class identifiers, one per behaviour (camera_server.c).
declare -A CAMERA_CLSID=(
  [normal]='{FA5D4002-D2CA-4F7D-B2F5-4C0F750A5554}'
  [refuses-bind]='{FE799EF8-CAC1-4502-AF5B-0411FBBC89B4}'
  [no-property-set]='{38C7EC83-A6EE-405E-B886-EBA27357F9C5}'
  [set-false]='{B94690C0-E641-40D5-A48D-20DF17991CA6}'
  [set-fails]='{15374BCE-25CA-4FAB-AC19-AA91BE80869B}'
  [access-denied]='{6E0B8C2D-41F7-4A93-8D52-1C7AE43690B1}'
  [answers-get]='{C2749F1A-8B3E-4D05-A61F-53D80E942C67}'
)

# What the fixtures own, and clear at the start of every state: these device
# keys under Enum\USB and these driver-key slots of both classes.
FIXTURE_DEVICE_KEYS=('VID_5E3A&PID_0100' 'VID_5E3A&PID_2170' 'VID_5E3A&PID_2171'
  'VID_5E3A&PID_2171&MI_00' 'VID_5E3A&PID_2171&MI_02')
FIXTURE_DRIVER_SLOTS=(0100 0101 0102 0103)

# Geo ids of the countries the scenarios use.
declare -A GEO_ID=([JPN]=122 [KOR]=134 [TWN]=237 [USA]=244 [CHN]=45 [DEU]=94
  [GBR]=242 [CAN]=39 [PRT]=193 [AUS]=12 [NZL]=183 [TON]=231 [ARG]=11)

# A text as a REGEDIT4 string: backslashes and quotes escaped.
reg_string() {
  local text=${1//\\/\\\\}
  printf '"%s"' "${text//\"/\\\"}"
}

# A text's bytes as upper-case hex, without a terminator.
text_hex() {
  printf '%s' "$1" | od -An -v -tx1 | tr -d ' \n' | tr a-f A-F
}

# A '|'-separated list as a multi-string in REGEDIT4 hex(7) form.
multi_string_hex() {
  local entry bytes=""
  local -a entries
  IFS='|' read -r -a entries <<<"$1"
  for entry in "${entries[@]}"; do
    bytes+="$(text_hex "$entry")00"
  done
  bytes+="00"
  sed 's/../&,/g; s/,$//' <<<"$bytes" | tr A-F a-f
}

# The line reg_value prints for a REG_SZ value holding text.
reg_sz_line() {
  local hex
  hex="$(text_hex "$1")00"
  printf 'type=1 size=%d bytes=%s' $((${#hex} / 2)) "$hex"
}

# A fixture described wrongly is a mistake in the scenario: stop at once.
fixture_error() {
  echo "fixture: $*" >&2
  exit 2
}

# Starts a new state: no logon entry, the user's country USA, no device nodes
# and no capture sources of the fixtures' own.
fixture_begin() {
  FIXTURE_FILE=${1:-$T7105_WINE_ROOT/state.reg}
  FIXTURE_RUN_VALUE=absent
  FIXTURE_STARTUP=absent
  FIXTURE_NATION=${GEO_ID[USA]}
  FIXTURE_IMAGE_LINES=()
  FIXTURE_USB_LINES=()
  FIXTURE_CAMERA_LINES=()
  FIXTURE_BODY=""
}

# The logon entry before the run: its text, or "absent".
fixture_run_value() { FIXTURE_RUN_VALUE=$1; }

# The machine's Startup apps switch for the entry: enabled, disabled (the
# value's first byte odd, as Windows writes it) or absent.
fixture_startup_switch() { FIXTURE_STARTUP=$1; }

# The user's country, as a three-letter code from GEO_ID.
fixture_country() {
  [[ -n ${GEO_ID[$1]:-} ]] || fixture_error "unknown country $1"
  FIXTURE_NATION=${GEO_ID[$1]}
}

# No country set: the Nation value that GetUserGeoID answers with
# GEOID_NOT_AVAILABLE.
fixture_no_country() { FIXTURE_NATION=-1; }

# A device node. Arguments as name=value:
#   id       instance ID, under one of FIXTURE_DEVICE_KEYS
#   class    image (listed in the Image class), or usb or camera (in the USB
#            or the Camera class: only the USB enumerator knows it)
#   driver   driver-key slot, one of FIXTURE_DRIVER_SLOTS
#   hwids    hardware IDs, '|' between entries;  compat: compatible IDs
#   parent   the instance ID of the node it is a child of (a composite
#            device's function)
#   desc     "DriverDesc";  product: "ZrProductName" (omitted when empty)
#   loaded   1 or 0: the driver-loaded bit;  present: 1 or 0
# Declare nodes in the order Wine lists them (sorted instance IDs).
fixture_device() {
  local id="" class=image driver="" hwids="" compat="" parent="" desc="" product="" loaded=1
  local present=1 argument
  for argument in "$@"; do
    case ${argument%%=*} in
    id | class | driver | hwids | compat | parent | desc | product | loaded | present)
      local "$argument"
      ;;
    *) fixture_error "fixture_device: unknown $argument" ;;
    esac
  done
  local key owned=no
  for key in "${FIXTURE_DEVICE_KEYS[@]}"; do
    [[ $id == "USB\\$key\\"?* ]] && owned=yes
  done
  [[ $owned == yes && " ${FIXTURE_DRIVER_SLOTS[*]} " == *" $driver "* ]] ||
    fixture_error "fixture_device: $id or slot $driver is not one the fixtures clear"
  local class_guid=$IMAGE_CLASS class_name=Image
  [[ $class == usb ]] && class_guid=$USB_CLASS class_name=USB
  [[ $class == camera ]] && class_guid=$CAMERA_CLASS class_name=Camera
  FIXTURE_BODY+="
[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Enum\\$id]
\"ClassGUID\"=$(reg_string "$class_guid")
\"Class\"=$(reg_string "$class_name")
\"HardwareID\"=hex(7):$(multi_string_hex "$hwids")
\"DeviceDesc\"=$(reg_string "$desc")
\"Mfg\"=\"Test fixture\"
\"Driver\"=$(reg_string "$class_guid\\$driver")
\"TestPresent\"=dword:0000000$present
\"TestDriverLoaded\"=dword:0000000$loaded

[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Class\\$class_guid\\$driver]
\"DriverDesc\"=$(reg_string "$desc")
\"ProviderName\"=\"Test fixture\"
"
  [[ -n $product ]] && FIXTURE_BODY+="\"ZrProductName\"=$(reg_string "$product")
"
  [[ -n $compat || -n $parent ]] && FIXTURE_BODY+="
[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Enum\\$id]
"
  [[ -n $compat ]] && FIXTURE_BODY+="\"CompatibleIDs\"=hex(7):$(multi_string_hex "$compat")
"
  [[ -n $parent ]] && FIXTURE_BODY+="\"TestParent\"=$(reg_string "$parent")
"
  # What machine_probe must then report for the node.
  local status=none located=phantom
  if [[ $present == 1 ]]; then
    located=yes
    status=800400
    [[ $loaded == 1 ]] && status=180000A
  fi
  local rest="status=$status hwids=$hwids desc=$desc product=$product"
  [[ $class == image ]] && FIXTURE_IMAGE_LINES+=("image $id located=yes $rest")
  FIXTURE_USB_LINES+=("usb $id located=$located $rest")
}

# A capture source of the simulated camera: its CameraId (named in the
# camera's log), its behaviour (a key of CAMERA_CLSID) and its FriendlyName.
# Sources are listed in the order they are declared.
fixture_camera() {
  local camera_id=$1 behaviour=$2 name=$3
  [[ -n ${CAMERA_CLSID[$behaviour]:-} ]] || fixture_error "unknown behaviour $behaviour"
  local key
  printf -v key 'camera%02d' $((${#FIXTURE_CAMERA_LINES[@]} + 1))
  FIXTURE_BODY+="
[HKEY_CLASSES_ROOT\\CLSID\\$VIDEO_INPUT_CATEGORY\\Instance\\$key]
\"FriendlyName\"=$(reg_string "$name")
\"CLSID\"=$(reg_string "${CAMERA_CLSID[$behaviour]}")
\"CameraId\"=$(reg_string "$camera_id")
"
  FIXTURE_CAMERA_LINES+=("source id=$camera_id name=$name")
}

# The whole state as one REGEDIT4 file: first clear what the fixtures own,
# then write the state.
fixture_write() {
  local key slot class
  {
    printf 'REGEDIT4\n\n'
    printf '[-HKEY_CLASSES_ROOT\\CLSID\\%s\\Instance]\n\n' "$VIDEO_INPUT_CATEGORY"
    for key in "${FIXTURE_DEVICE_KEYS[@]}"; do
      printf '[-HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Enum\\USB\\%s]\n\n' "$key"
    done
    for class in "$IMAGE_CLASS" "$USB_CLASS" "$CAMERA_CLASS"; do
      for slot in "${FIXTURE_DRIVER_SLOTS[@]}"; do
        printf '[-HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Class\\%s\\%s]\n\n' "$class" "$slot"
      done
    done
    printf '[HKEY_LOCAL_MACHINE\\%s]\n' "$RUN_KEY"
    if [[ $FIXTURE_RUN_VALUE == absent ]]; then
      printf '"%s"=-\n\n' "$RUN_VALUE_NAME"
    else
      printf '"%s"=%s\n\n' "$RUN_VALUE_NAME" "$(reg_string "$FIXTURE_RUN_VALUE")"
    fi
    printf '[HKEY_LOCAL_MACHINE\\%s]\n"%s"=' "$STARTUP_APPROVED_KEY" "$RUN_VALUE_NAME"
    case $FIXTURE_STARTUP in
    enabled) printf 'hex:02,00,00,00,00,00,00,00,00,00,00,00\n\n' ;;
    disabled) printf 'hex:03,00,00,00,00,00,00,00,00,00,00,00\n\n' ;;
    *) printf -- '-\n\n' ;;
    esac
    printf '[HKEY_CURRENT_USER\\%s]\n"Nation"="%s"\n' "$GEO_KEY" "$FIXTURE_NATION"
    printf '%s' "$FIXTURE_BODY"
  } | sed 's/$/\r/' >"$FIXTURE_FILE"
}
