#!/usr/bin/env bash
# The package's tables as Windows Installer reads them (msiinfo export): the
# program's identity, where the files go, the logon entry and the action
# that writes it, the preset and remembered device number and mains
# frequency, the launch condition, and the major-upgrade rules.
# Needs no Wine.
#   check_tables.sh PACKAGE PRODUCT_NAME MANUFACTURER PRODUCT_VERSION FILE_VERSION
set -uo pipefail
package=$1 product_name=$2 manufacturer=$3 product_version=$4 file_version=$5
# shellcheck source=../wine/lib/checks.sh
source "$(dirname "$0")/../wine/lib/checks.sh"

# One cell of a table: the column of the row whose key column holds the key.
# An export's first three lines are the column names, their types and the
# table's keys.
cell() {
  local table=$1 key_column=$2 key=$3 column=$4
  msiinfo export "$package" "$table" | tr -d '\r' |
    awk -F'\t' -v kc="$key_column" -v k="$key" -v c="$column" '
      NR == 1 { for (i = 1; i <= NF; i++) at[$i] = i }
      NR > 3 && $at[kc] == k { print $at[c] }'
}

# Checks rows read from standard input: table|key column=key|column|expected
check_rows() {
  local table key column expected
  while IFS='|' read -r table key column expected; do
    [[ -n $table ]] || continue
    check "$table ${key#*=} $column" "$expected" "$(cell "$table" "${key%%=*}" "${key#*=}" "$column")"
  done
}

# The rows of a property $2 that a package presets and remembers, as
# HKLM\Software\T7105Cfg's $1: its preset, none in the build's package, given
# to the property when none is given; the value written with the component,
# searched for into Remembered$1, and recalled into the property when neither
# the command line nor a preset gives one.
property_rows() {
  local name=$1 property=$2 id=Remembered$1
  cat <<EOF_PROPERTY
Property|Property=$property|Value|
Property|Property=Preset$name|Value|
CustomAction|Action=UsePreset$name|Type|51
CustomAction|Action=UsePreset$name|Source|$property
CustomAction|Action=UsePreset$name|Target|[Preset$name]
InstallExecuteSequence|Action=UsePreset$name|Condition|NOT $property
Registry|Registry=$id|Root|2
Registry|Registry=$id|Key|Software\T7105Cfg
Registry|Registry=$id|Name|$name
Registry|Registry=$id|Value|[$property]
Registry|Registry=$id|Component_|T7105Cfg
AppSearch|Property=$id|Signature_|$id
RegLocator|Signature_=$id|Root|2
RegLocator|Signature_=$id|Key|Software\T7105Cfg
RegLocator|Signature_=$id|Name|$name
RegLocator|Signature_=$id|Type|18
CustomAction|Action=Recall$name|Type|51
CustomAction|Action=Recall$name|Source|$property
CustomAction|Action=Recall$name|Target|[$id]
InstallExecuteSequence|Action=Recall$name|Condition|NOT $property
EOF_PROPERTY
}

check_rows < <(property_rows DeviceNumber DEVICENUMBER)
check_rows < <(property_rows MainsFrequency MAINSFREQUENCY)
check_rows <<EOF_ROWS
Property|Property=ProductName|Value|$product_name
Property|Property=Manufacturer|Value|$manufacturer
Property|Property=ProductVersion|Value|$product_version
Property|Property=ALLUSERS|Value|1
Property|Property=SecureCustomProperties|Value|DEVICENUMBER;MAINSFREQUENCY;WIX_DOWNGRADE_DETECTED;WIX_UPGRADE_DETECTED
Property|Property=ARPNOMODIFY|Value|1
Directory|Directory=System64Folder|Directory_Parent|TARGETDIR
Component|Component=T7105Cfg|Directory_|System64Folder
Component|Component=T7105Cfg|Attributes|256
File|File=T7105Cfg.exe|Component_|T7105Cfg
File|File=T7105Cfg.exe|FileName|T7105Cfg.exe
File|File=T7105Cfg.exe|Version|$file_version
File|File=T7105Cfg.exe|Language|1033
FeatureComponents|Component_=T7105Cfg|Feature_|Complete
Component|Component=T7105Report|Directory_|System64Folder
Component|Component=T7105Report|Attributes|256
Component|Component=T7105Report|KeyPath|T7105Report.exe
File|File=T7105Report.exe|Component_|T7105Report
File|File=T7105Report.exe|FileName|T7105Report.exe
File|File=T7105Report.exe|Version|$file_version
File|File=T7105Report.exe|Language|1033
FeatureComponents|Component_=T7105Report|Feature_|Complete
Registry|Registry=LogonEntry|Root|2
Registry|Registry=LogonEntry|Key|Software\Microsoft\Windows\CurrentVersion\Run
Registry|Registry=LogonEntry|Name|T7105Cfg.exe
Registry|Registry=LogonEntry|Value|T7105Cfg.exe
Registry|Registry=LogonEntry|Component_|T7105Cfg
CustomAction|Action=WriteLogonEntry|Type|3090
CustomAction|Action=WriteLogonEntry|Source|T7105Cfg.exe
CustomAction|Action=WriteLogonEntry|Target|/patchreg /d:[DEVICENUMBER] /hz:[MAINSFREQUENCY]
InstallExecuteSequence|Action=WriteLogonEntry|Condition|NOT REMOVE
CustomAction|Action=RememberNewSettings|Type|51
CustomAction|Action=RememberNewSettings|Source|REINSTALL
CustomAction|Action=RememberNewSettings|Target|ALL
InstallExecuteSequence|Action=RememberNewSettings|Condition|Installed AND NOT REMOVE AND NOT REINSTALL AND (DEVICENUMBER <> RememberedDeviceNumber OR MAINSFREQUENCY <> RememberedMainsFrequency)
Upgrade|ActionProperty=WIX_UPGRADE_DETECTED|VersionMin|
Upgrade|ActionProperty=WIX_UPGRADE_DETECTED|VersionMax|$product_version
Upgrade|ActionProperty=WIX_UPGRADE_DETECTED|Attributes|513
Upgrade|ActionProperty=WIX_DOWNGRADE_DETECTED|VersionMin|$product_version
Upgrade|ActionProperty=WIX_DOWNGRADE_DETECTED|VersionMax|
Upgrade|ActionProperty=WIX_DOWNGRADE_DETECTED|Attributes|2
LaunchCondition|Condition=NOT WIX_DOWNGRADE_DETECTED|Description|A newer version of [ProductName] is already installed.
LaunchCondition|Condition=REMOVE ~= "ALL" OR NOT MAINSFREQUENCY OR MAINSFREQUENCY = "0" OR MAINSFREQUENCY = "50" OR MAINSFREQUENCY = "60" OR MAINSFREQUENCY ~= "auto"|Description|MAINSFREQUENCY takes 50 or 60 (the mains frequency in hertz), auto (the region rule, corrected where it is known wrong) or 0 (the region rule decides), not "[MAINSFREQUENCY]". Nothing was changed.
EOF_ROWS
# Root 2: HKEY_LOCAL_MACHINE. Attributes 256: a 64-bit component. Type 3090:
# an executable among the installed files (18), run from the installation
# script (1024, deferred) as the system account (2048, no impersonation),
# its exit code checked (no 64). Type 51: sets a property. RegLocator type
# 18: the value as it is (2) in the 64-bit view (16). Upgrade attributes 513: an older version or the same (512, the maximum included)
# is removed and its feature states carried over (1); 2: a newer one is only
# detected. ~=: equal in any case (auto, AUTO, Auto).

# The upgrade code never changes: machines in the field find their package
# by it.
upgrade_code='{3B8E6F2A-5C41-4D7E-9A0B-2F6C81D4E937}'
check "Property UpgradeCode" "$upgrade_code" "$(cell Property Property UpgradeCode Value)"
for property in WIX_UPGRADE_DETECTED WIX_DOWNGRADE_DETECTED; do
  check "Upgrade $property UpgradeCode" "$upgrade_code" \
    "$(cell Upgrade ActionProperty "$property" UpgradeCode)"
done

# Order in the installation: the related products are found before the
# downgrade condition is evaluated; the remembered device number and mains
# frequency are searched for; each property takes its preset, then its
# remembered value, when none is given; a new one given to an installed
# product reinstalls it, before the feature states are settled; the launch
# conditions are evaluated before anything is changed, and judge only a mains
# frequency given; an older version is removed inside the installation's
# transaction; the entry is written once the file and the registry are in
# place, before the script ends.
sequence() { cell InstallExecuteSequence Action "$1" Sequence; }
while read -r first later; do
  a=$(sequence "$first") b=$(sequence "$later")
  check "$first before $later" yes "$([[ -n $a && -n $b ]] && ((a < b)) && echo yes || echo "no: $a, $b")"
done <<EOF_ORDER
FindRelatedProducts LaunchConditions
AppSearch UsePresetDeviceNumber
UsePresetDeviceNumber RecallDeviceNumber
LaunchConditions UsePresetMainsFrequency
UsePresetMainsFrequency RecallMainsFrequency
RecallDeviceNumber RememberNewSettings
RecallMainsFrequency RememberNewSettings
RememberNewSettings CostFinalize
LaunchConditions InstallInitialize
InstallInitialize RemoveExistingProducts
RemoveExistingProducts ProcessComponents
InstallFiles WriteLogonEntry
WriteRegistryValues WriteLogonEntry
WriteLogonEntry InstallFinalize
EOF_ORDER

# The summary information: a 64-bit package of the program's maker, for
# Windows Installer 2.0 or later (the 64-bit minimum, as Page Count), its
# files compressed in the package under their long names (Word Count 2).
summary=$(msiinfo suminfo "$package")
for line in "Template: x64;1033" "Subject: $product_name" "Author: $manufacturer" \
  "Source: 2 (2)"; do
  check "summary ${line%%:*}" "$line" "$(grep -xF "$line" <<<"$summary")"
done
page_count=$(sed -n 's/^Version: \([0-9]*\) .*/\1/p' <<<"$summary")
check "summary Page Count at least 200" yes "$( ((page_count >= 200)) && echo yes || echo "$page_count")"

checks_result
