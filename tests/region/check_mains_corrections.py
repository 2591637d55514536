#!/usr/bin/env python3
"""What /hz:auto answers, held to its sources.

The answer that /hz:auto must give a user of each country of ISO 3166 on a
machine at each standard time-zone bias of the time-zone database is worked
out here from region/mains-by-country.tsv and this machine's tzdata alone,
never from the program's table: where the country has one mains frequency
and the bias is the standard bias of one of the country's own zones
(zone.tab), that frequency's class; everywhere else the region rule's. The
program's answers come from region_answers, the program's region code on the
simulated machine.

  check_mains_corrections.py REGION_ANSWERS   checks every country at every bias
  check_mains_corrections.py --table          prints the rows the program's table
                                              needs: where the rule is wrong
"""
import datetime
import json
import pathlib
import subprocess
import sys
import unicodedata
import zoneinfo

MAINS_LIST = pathlib.Path(__file__).resolve().parents[2] / "region" / "mains-by-country.tsv"
ZONE_TAB = pathlib.Path("/usr/share/zoneinfo/zone.tab")
ISO_3166 = pathlib.Path("/usr/share/iso-codes/json/iso_3166-1.json")


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


def zones_by_country():
    """ISO alpha-2 code -> {standard bias: [zones]} of the country's own zones."""
    year = datetime.date.today().year
    zones = {}
    for line in ZONE_TAB.read_text(encoding="utf-8").splitlines():
        if line and not line.startswith("#"):
            code, _coordinates, zone = line.split("\t")[:3]
            zones.setdefault(code, {}).setdefault(standard_bias(zone, year), []).append(zone)
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
            else:
                answers[country["alpha_3"], bias] = (rule, rule, "the rule stands")
    return answers


def utc_offset(bias):
    sign = "-" if bias > 0 else "+"
    return f"UTC{sign}{abs(bias) // 60:02d}:{abs(bias) % 60:02d}"


def print_table(answers):
    rows = [(2 if auto == 2 else 1, country, bias, why)
            for (country, bias), (rule, auto, why) in answers.items() if auto != rule]
    for klass, country, bias, why in sorted(rows):
        name = unicodedata.normalize("NFKD", why.split(",")[0]).encode("ascii", "ignore").decode()
        print(f'    {{"{country}", {bias}, {60 if klass == 2 else 50}}},  // {name}, {utc_offset(bias)}')
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
    corrected = sum(1 for rule, auto, _ in answers.values() if rule != auto)
    print(f"{len(cases)} cases, {corrected} where /hz:auto corrects the rule, {failures} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    for source in (ZONE_TAB, ISO_3166):
        if not source.is_file():
            print(f"FAIL  {source} is missing: scripts/install-deps.sh native installs it")
            sys.exit(1)
    if sys.argv[1:] == ["--table"]:
        print_table(expected_answers())
    elif len(sys.argv) == 2:
        sys.exit(check(expected_answers(), sys.argv[1]))
    else:
        print(__doc__, file=sys.stderr)
        sys.exit(2)
