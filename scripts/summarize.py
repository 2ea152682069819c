#!/usr/bin/env python3
"""Counts the test cases of every stage of scripts/test.sh and prints the closing line.

Each stage leaves a CTest JUnit report (ctest-junit.xml in its build folder). A CTest test that ran a Windows
GoogleTest binary under Wine (named win.<binary>) is replaced by the cases of that binary's own XML report.
"""
import sys
import xml.etree.ElementTree as ET
from pathlib import Path


def gtest_cases(path):
    root = ET.parse(path).getroot()
    passed = failed = skipped = 0
    for case in root.iter("testcase"):
        if case.find("failure") is not None or case.find("error") is not None:
            failed += 1
        elif case.get("status") == "notrun" or case.get("result") == "skipped" or case.find("skipped") is not None:
            skipped += 1
        else:
            passed += 1
    return passed, failed, skipped


def stage_counts(build):
    junit = build / "ctest-junit.xml"
    if not junit.exists():
        return None
    passed = failed = skipped = 0
    for case in ET.parse(junit).getroot().iter("testcase"):
        name = case.get("name", "")
        status = case.get("status", "")
        ok = status == "run" and case.find("failure") is None
        notrun = status in ("notrun", "disabled")
        gxml = build / "gtest-xml" / (name[4:] + ".xml")
        if name.startswith("win.") and gxml.exists():
            p, f, s = gtest_cases(gxml)
            # A binary that crashed after writing its report still fails.
            if not ok and f == 0:
                f = 1
            passed, failed, skipped = passed + p, failed + f, skipped + s
        elif notrun:
            skipped += 1
        elif ok:
            passed += 1
        else:
            failed += 1
    return passed, failed, skipped


def main():
    total = [0, 0, 0]
    for arg in sys.argv[1:]:
        counts = stage_counts(Path(arg))
        if counts is None:
            print(f"{arg}: no report (stage did not run)")
            total[1] += 1
            continue
        print(f"{arg}: {counts[0]} passed, {counts[1]} failed, {counts[2]} skipped")
        total = [t + c for t, c in zip(total, counts)]
    print(f"Summary: {total[0]} passed, {total[1]} failed, {total[2]} skipped")
    return 1 if total[1] else 0


if __name__ == "__main__":
    sys.exit(main())
