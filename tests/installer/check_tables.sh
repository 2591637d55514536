#!/usr/bin/env bash
# The package's tables as Windows Installer reads them (msiinfo export): the
# program's identity, where the file goes, the logon entry and the action
# that writes it, and the major-upgrade rules. Needs no Wine.
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

# table|key column=key|column|expected
while IFS='|' read -r table key column expected; do
  [[ -n $table ]] || continue
  check "$table ${key#*=} $column" "$expected" "$(cell "$table" "${key%%=*}" "${key#*=}" "$column")"
done <<EOF_ROWS
Property|Property=ProductName|Value|$product_name
Property|Property=Manufacturer|Value|$manufacturer
Property|Property=ProductVersion|Value|$product_version
Property|Property=ALLUSERS|Value|1
Property|Property=SecureCustomProperties|Value|DEVICENUMBER;WIX_DOWNGRADE_DETECTED;WIX_UPGRADE_DETECTED
Directory|Directory=System64Folder|Directory_Parent|TARGETDIR
Component|Component=T7105Cfg|Directory_|System64Folder
Component|Component=T7105Cfg|Attributes|256
File|File=T7105Cfg.exe|Component_|T7105Cfg
File|File=T7105Cfg.exe|FileName|T7105Cfg.exe
File|File=T7105Cfg.exe|Version|$file_version
File|File=T7105Cfg.exe|Language|1033
Registry|Registry=LogonEntry|Root|2
Registry|Registry=LogonEntry|Key|Software\Microsoft\Windows\CurrentVersion\Run
Registry|Registry=LogonEntry|Name|T7105Cfg.exe
Registry|Registry=LogonEntry|Value|T7105Cfg.exe
Registry|Registry=LogonEntry|Component_|T7105Cfg
CustomAction|Action=WriteLogonEntry|Type|3090
CustomAction|Action=WriteLogonEntry|Source|T7105Cfg.exe
CustomAction|Action=WriteLogonEntry|Target|/patchreg /d:[DEVICENUMBER]
InstallExecuteSequence|Action=WriteLogonEntry|Condition|NOT REMOVE
Upgrade|ActionProperty=WIX_UPGRADE_DETECTED|VersionMin|
Upgrade|ActionProperty=WIX_UPGRADE_DETECTED|VersionMax|$product_version
Upgrade|ActionProperty=WIX_UPGRADE_DETECTED|Attributes|1
Upgrade|ActionProperty=WIX_DOWNGRADE_DETECTED|VersionMin|$product_version
Upgrade|ActionProperty=WIX_DOWNGRADE_DETECTED|VersionMax|
Upgrade|ActionProperty=WIX_DOWNGRADE_DETECTED|Attributes|2
LaunchCondition|Condition=NOT WIX_DOWNGRADE_DETECTED|Description|A newer version of [ProductName] is already installed.
EOF_ROWS
# Root 2: HKEY_LOCAL_MACHINE. Attributes 256: a 64-bit component. Type 3090:
# an executable among the installed files (18), run from the installation
# script (1024, deferred) as the system account (2048, no impersonation),
# its exit code checked (no 64). Upgrade attributes 1: an older version, the
# maximum excluded, is removed; 2: a newer one is only detected.

upgrade_code=$(cell Property Property UpgradeCode Value)
for property in WIX_UPGRADE_DETECTED WIX_DOWNGRADE_DETECTED; do
  check "Upgrade $property UpgradeCode" "$upgrade_code" \
    "$(cell Upgrade ActionProperty "$property" UpgradeCode)"
done

# Order in the installation: the related products are found before the
# downgrade condition is evaluated; an older version is removed inside the
# installation's transaction; the entry is written once the file and the
# registry are in place, before the script ends.
sequence() { cell InstallExecuteSequence Action "$1" Sequence; }
while read -r first later; do
  a=$(sequence "$first") b=$(sequence "$later")
  check "$first before $later" yes "$([[ -n $a && -n $b ]] && ((a < b)) && echo yes || echo "no: $a, $b")"
done <<EOF_ORDER
FindRelatedProducts LaunchConditions
InstallInitialize RemoveExistingProducts
RemoveExistingProducts ProcessComponents
InstallFiles WriteLogonEntry
WriteRegistryValues WriteLogonEntry
WriteLogonEntry InstallFinalize
EOF_ORDER

# The summary information: a 64-bit package of the program's maker.
summary=$(msiinfo suminfo "$package")
for line in "Template: x64;1033" "Subject: $product_name" "Author: $manufacturer"; do
  check "summary ${line%%:*}" "$line" "$(grep -xF "$line" <<<"$summary")"
done

checks_result
