#!/usr/bin/env python3
"""What /hz:auto answers, held to its sources.

The answer that /hz:auto must give a user of each country of ISO 3166 on a
machine at each standard time-zone bias is worked out here from
region/mains-by-country.tsv and this machine's two time-zone databases alone,
never from the program's table: where the country has one mains frequency
and the bias is one of the country's own, that frequency's class; everywhere
else the region rule's. A country's own biases are the standard biases of its
zones in tzdata (zone.tab) this year, and, since GetTimeZoneInformation takes
its bias from Windows' own database, which lags tzdata where Windows has not
been updated, those of its Windows zones (CLDR's windowsZones.xml) in every
year from 2020 to this one, as Wine's copy of that database gives them. The
program's answers come from region_answers, the program's region code on the
simulated machine.

  check_mains_corrections.py REGION_ANSWERS   checks every country at every bias
  check_mains_corrections.py --table          prints the rows the program's table
                                              needs: where the rule is wrong
"""
import datetime
import json
import pathlib
import re
import struct
import subprocess
import sys
import unicodedata
import xml.etree.ElementTree
import zoneinfo

import pefile

MAINS_LIST = pathlib.Path(__file__).resolve().parents[2] / "region" / "mains-by-country.tsv"
ZONE_TAB = pathlib.Path("/usr/share/zoneinfo/zone.tab")
ISO_3166 = pathlib.Path("/usr/share/iso-codes/json/iso_3166-1.json")
# Which Windows zones serve each country, as Debian's unicode-cldr-core gives it.
WINDOWS_ZONES = pathlib.Path("/usr/share/unicode/cldr/common/supplemental/windowsZones.xml")
# Wine's copy of Windows' zone database: the registry script in this library's
# resources, which Wine writes into every prefix's HKLM\Software\Microsoft\
# Windows NT\CurrentVersion\Time Zones. Debian's libwine installs it.
WINE_KERNELBASE = pathlib.Path("/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/kernelbase.dll")
FIRST_WINDOWS_YEAR = 2020
# The Debian packages of the databases, whose versions each run names.
PACKAGES = ("tzdata", "unicode-cldr-core", "libwine")
REGISTRY_VALUE = re.compile(r"val '(?P<name>[^']*)' = (?P<kind>[bds]) (?P<data>.*)")
REGISTRY_DATA = {"b": bytes.fromhex, "d": int, "s": lambda text: text.strip("'")}


def mains_by_country():
    """ISO alpha-2 code -> '50', '60' or '50/60', as the list gives it."""
    mains = {}
    for line in MAINS_LIST.read_text(encoding="utf-8").splitlines():
        if line and not line.startswith("#"):
            code, hertz, _name = line.split("\t")
            mains[code] = hertz
    return mains


def standard_bias(zone, year):
    """The zone's standard bias in minutes (UTC = local time + bias), as
    GetTimeZoneInformation gives it: daylight saving moves clocks forward, so
    the smallest offset of the year is the standard one."""
    tz = zoneinfo.ZoneInfo(zone)
    offsets = []
    for month in range(1, 13):
        for day in (1, 15):
            moment = datetime.datetime(year, month, day, 12, tzinfo=datetime.timezone.utc)
            offsets.append(moment.astimezone(tz).utcoffset())
    return -int(min(offsets).total_seconds()) // 60


def tzdata_zones_by_country(year):
    """ISO alpha-2 code -> {standard bias: [why]} of the country's tzdata zones."""
    zones = {}
    for line in ZONE_TAB.read_text(encoding="utf-8").splitlines():
        if line and not line.startswith("#"):
            code, _coordinates, zone = line.split("\t")[:3]
            zones.setdefault(code, {}).setdefault(standard_bias(zone, year), []).append(
                f"{zone} (tzdata)")
    return zones


def wine_registry_script():
    """The text of kernelbase.dll's registry script that holds the zones."""
    image = pefile.PE(str(WINE_KERNELBASE), fast_load=True)
    image.parse_data_directories([pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_RESOURCE"]])
    scripts = (image.get_data(language.data.struct.OffsetToData, language.data.struct.Size)
               for kind in image.DIRECTORY_ENTRY_RESOURCE.entries
               if str(kind.name) == "WINE_REGISTRY"
               for name in kind.directory.entries for language in name.directory.entries)
    return next((text.decode("utf-8") for text in scripts if b"'Time Zones'" in text), "")


def windows_zone_database():
    """Windows zone -> {subkey: {value name: value}}: the zone's key itself as
    subkey "" (its TZI), and "Dynamic DST" (its years)."""
    zones = {}
    path, key = [], ""
    for line in wine_registry_script().splitlines():
        item = line.strip()
        if item == "{":
            path.append(key)
        elif item == "}":
            path.pop()
        elif item.startswith("val ") and "Time Zones" in path[:-1]:
            value = REGISTRY_VALUE.fullmatch(item)
            zone, *subkey = path[path.index("Time Zones") + 1:]
            zones.setdefault(zone, {}).setdefault("\\".join(subkey), {})[value["name"]] = (
                REGISTRY_DATA[value["kind"]](value["data"]))
        elif item:
            key = re.sub(r"^(NoRemove|ForceRemove|Delete) ", "", item).strip("'")
    return zones


def windows_biases(zone, year):
    """{bias: [years]} of a Windows zone from FIRST_WINDOWS_YEAR to `year`: each
    year's Dynamic DST entry, or the zone's TZI for a year without one (in
    Wine's copies the TZI always has the last entry's bias). The bias is the
    first field of either (REG_TZI_FORMAT)."""
    biases = {}
    for when in range(FIRST_WINDOWS_YEAR, year + 1):
        entry = zone.get("Dynamic DST", {}).get(str(when), zone[""]["TZI"])
        biases.setdefault(struct.unpack_from("<l", entry)[0], []).append(when)
    return biases


def years(span):
    return str(span[0]) if len(span) == 1 else f"{span[0]}-{span[-1]}"


def windows_zones_by_country(year):
    """ISO alpha-2 code -> {standard bias: [why]} of the country's Windows zones.
    A territory counts where it is a country: "001" marks a zone's default."""
    database = windows_zone_database()
    zones = {}
    for mapping in xml.etree.ElementTree.parse(WINDOWS_ZONES).iter("mapZone"):
        zone, code = mapping.get("other"), mapping.get("territory")
        if code == "001":
            continue
        if zone not in database:
            raise LookupError(f"{zone}, which CLDR gives {code}, is not in Wine's zone database")
        for bias, span in windows_biases(database[zone], year).items():
            zones.setdefault(code, {}).setdefault(bias, []).append(
                f"{zone} (Windows, {years(span)})")
    return zones


def zones_by_country():
    """ISO alpha-2 code -> {standard bias: [why]} of the country's own zones in
    either database."""
    year = datetime.date.today().year
    zones = tzdata_zones_by_country(year)
    for code, own in windows_zones_by_country(year).items():
        for bias, why in own.items():
            zones.setdefault(code, {}).setdefault(bias, []).extend(why)
    return zones


def rule_class(country, bias):
    """The region rule: inside the bands only Taiwan and South Korea are 60 Hz."""
    in_band = -540 <= bias <= 60 or -720 <= bias <= -570
    return (2 if country in ("TWN", "KOR") else 1) if in_band else 2


def expected_answers():
    """(alpha-3 code, bias) -> (class of the rule, class of /hz:auto, why)."""
    mains = mains_by_country()
    zones = zones_by_country()
    countries = json.loads(ISO_3166.read_text(encoding="utf-8"))["3166-1"]
    biases = sorted({bias for own in zones.values() for bias in own})
    answers = {}
    for country in countries:
        hertz = mains.get(country["alpha_2"], "")
        own = zones.get(country["alpha_2"], {})
        for bias in biases:
            rule = rule_class(country["alpha_3"], bias)
            if hertz in ("50", "60") and bias in own:
                why = f"{country['name']}, {hertz} Hz, at its own {', '.join(own[bias])}"
                answers[country["alpha_3"], bias] = (rule, 2 if hertz == "60" else 1, why)
            elif hertz in ("50", "60"):
                why = f"the rule stands: no zone of {country['name']} has it in either database"
                answers[country["alpha_3"], bias] = (rule, rule, why)
            else:
                why = "the rule stands: the country's mains are not of one frequency"
                answers[country["alpha_3"], bias] = (rule, rule, why)
    return answers


def utc_offset(bias):
    sign = "-" if bias > 0 else "+"
    return f"UTC{sign}{abs(bias) // 60:02d}:{abs(bias) % 60:02d}"


def databases(why):
    """The databases that a correction's reason names."""
    return [name for name in ("tzdata", "Windows") if f"({name}" in why]


def print_table(answers):
    rows = [(2 if auto == 2 else 1, country, bias, why)
            for (country, bias), (rule, auto, why) in answers.items() if auto != rule]
    for klass, country, bias, why in sorted(rows):
        name = unicodedata.normalize("NFKD", why.split(",")[0]).encode("ascii", "ignore").decode()
        print(f'    {{"{country}", {bias}, {60 if klass == 2 else 50}}},  '
              f'// {name}, {utc_offset(bias)} ({", ".join(databases(why))})')
    print(f"{len(rows)} corrections", file=sys.stderr)


def check(answers, program):
    cases = list(answers)
    request = "".join(f"{country} {bias}\n" for country, bias in cases)
    reply = subprocess.run([program], input=request, capture_output=True, text=True, check=True)
    lines = reply.stdout.splitlines()
    if len(lines) != len(cases):
        print(f"FAIL  {len(cases)} cases asked, {len(lines)} answered")
        return 1
    failures = 0
    for (country, bias), line in zip(cases, lines):
        rule, auto, why = answers[country, bias]
        if line != f"{rule} {auto}":
            failures += 1
            print(f"FAIL  {country} at bias {bias}: expected rule {rule}, auto {auto} ({why}); "
                  f"the program: {line}")
    corrected = [why for rule, auto, why in answers.values() if rule != auto]
    windows_alone = sum(1 for why in corrected if databases(why) == ["Windows"])
    print(f"{len(cases)} cases, {len(corrected)} where /hz:auto corrects the rule "
          f"({windows_alone} from Windows' zones alone), {failures} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    for source in (ZONE_TAB, ISO_3166, WINDOWS_ZONES, WINE_KERNELBASE):
        if not source.is_file():
            print(f"FAIL  {source} is missing: scripts/install-deps.sh native installs it")
            sys.exit(1)
    versions = subprocess.run(["dpkg-query", "-W", "-f", "${Package} ${Version}, ", *PACKAGES],
                              capture_output=True, text=True, check=False).stdout
    print(f"sources: {versions.rstrip(', ')}", file=sys.stderr)
    if sys.argv[1:] == ["--table"]:
        print_table(expected_answers())
    elif len(sys.argv) == 2:
        sys.exit(check(expected_answers(), sys.argv[1]))
    else:
        print(__doc__, file=sys.stderr)
        sys.exit(2)
