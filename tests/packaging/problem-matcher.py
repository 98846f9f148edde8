#!/usr/bin/env python3
"""The problem matcher (packaging/orvanta-problem-matcher.json) takes the
finding lines of `orvanta-scan check` and nothing else.

A line is read the way the CI runner reads it: each matcher in turn, the
first whose regexp matches gives the annotation; its severity is the
severity group or else the matcher's default, and must be error, warning or
notice (the runner drops any other). The patterns use only what ECMAScript
and Python's re read alike (groups, (?:...), classes, lazy +?), so re stands
in for the runner's engine.

    problem-matcher.py MATCHER.json                  the table below
    problem-matcher.py MATCHER.json --check-output F also every line of F, the
                                                     output of `check`: each
                                                     finding line matches, the
                                                     summary line does not
"""
import json
import re
import sys

CLASSES = {"missing", "unused-files", "unused-flags", "dead-ends", "out-of-range", "unreachable",
           "broken-scene-loads", "always-holds"}
SEVERITIES = {"error", "warning", "notice"}


def load(path):
    with open(path, encoding="utf-8") as f:
        document = json.load(f)
    matchers = []
    owners = set()
    for m in document["problemMatcher"]:
        owner = m["owner"]
        assert owner and owner.lower() not in owners, f"owner {owner!r} empty or repeated"
        owners.add(owner.lower())
        default = m.get("severity", "").lower()
        assert default in SEVERITIES | {""}, f"{owner}: default severity {default!r}"
        [pattern] = m["pattern"]  # one line per finding: single-line matchers only
        regexp = re.compile(pattern["regexp"])
        for key in ("file", "line", "severity", "message", "code"):
            if key in pattern:
                assert 0 < pattern[key] <= regexp.groups, f"{owner}: {key} names no group"
        assert "message" in pattern, f"{owner}: no message group"
        matchers.append((regexp, pattern, default))
    return matchers


def annotate(matchers, line):
    """The annotation the runner makes of a line, or None."""
    for regexp, pattern, default in matchers:
        found = regexp.search(line)
        if not found:
            continue
        fields = {key: found.group(pattern[key]) for key in ("file", "line", "severity", "message", "code")
                  if key in pattern}
        fields["severity"] = (fields.get("severity") or default or "error").lower()
        if fields["severity"] not in SEVERITIES or not fields["message"].strip():
            return None
        return fields
    return None


def expect(file, severity, message, code):
    return {"file": file, "line": "1", "severity": severity, "message": message, "code": code}


CASES = [
    ("examples/lighthouse/resource/Orvanta1.dat:1: error: inventory item 5, file 1: missing file ' rope.gif' [missing]",
     expect("examples/lighthouse/resource/Orvanta1.dat", "error",
            "inventory item 5, file 1: missing file ' rope.gif'", "missing")),
    ("examples/lighthouse/resource/gfx/oldmap.bmp:1: warning: resource/gfx: unused file 'oldmap.bmp' (2,358 bytes)"
     " [unused-files]",
     expect("examples/lighthouse/resource/gfx/oldmap.bmp", "warning",
            "resource/gfx: unused file 'oldmap.bmp' (2,358 bytes)", "unused-files")),
    ("examples/lighthouse/lighthouse.orv:1: warning: flag 26: no enabled statement tests or changes it [unused-flags]",
     expect("examples/lighthouse/lighthouse.orv", "warning", "flag 26: no enabled statement tests or changes it",
            "unused-flags")),
    ("examples/lighthouse/resource/Orvanta2.dat:1: warning: scene 8 (Gallery), object 3 (HotSpot): flag 24 is tested"
     " but never changed, so '(Scene # 8 (Gallery) - HotSpot Object # 3) Visible when flag # 24 = 1' never holds"
     " [dead-ends]",
     expect("examples/lighthouse/resource/Orvanta2.dat", "warning",
            "scene 8 (Gallery), object 3 (HotSpot): flag 24 is tested but never changed, so '(Scene # 8 (Gallery) -"
            " HotSpot Object # 3) Visible when flag # 24 = 1' never holds", "dead-ends")),
    ("examples/lighthouse/resource/Orvanta2.dat:1: error: scene 2 (Cliff Path): the load of scene 9 never happens"
     " [broken-scene-loads]",
     expect("examples/lighthouse/resource/Orvanta2.dat", "error", "scene 2 (Cliff Path): the load of scene 9 never"
            " happens", "broken-scene-loads")),
    ("examples/lighthouse/resource/Orvanta2.dat:1: warning: scene 11 (Rocky Shore), object 3 (Goodie): flag number"
     " outside 1 to 255 [out-of-range]",
     expect("examples/lighthouse/resource/Orvanta2.dat", "warning", "scene 11 (Rocky Shore), object 3 (Goodie): flag"
            " number outside 1 to 255", "out-of-range")),
    # A note becomes a notice: the runner knows no "note".
    ("examples/lighthouse/resource/Orvanta2.dat:1: note: scene 11 (Rocky Shore), object 3 (Goodie): 'Visible when"
     " flag # 25 = 0' always holds [always-holds]",
     expect("examples/lighthouse/resource/Orvanta2.dat", "notice", "scene 11 (Rocky Shore), object 3 (Goodie):"
            " 'Visible when flag # 25 = 0' always holds", "always-holds")),
    ("game/resource/Orvanta2.dat:1: warning: scene 4 (Hall), object 1 (Reactor): the change of flag 7 can never"
     " happen [unreachable]",
     expect("game/resource/Orvanta2.dat", "warning", "scene 4 (Hall), object 1 (Reactor): the change of flag 7 can"
            " never happen", "unreachable")),
    # Blanks and colons in the path; a path holding ":1:" that is not the line.
    ("my games/Lost Keys/resource/gfx/old map.bmp:1: warning: resource/gfx: unused file 'old map.bmp' (0 bytes)"
     " [unused-files]",
     expect("my games/Lost Keys/resource/gfx/old map.bmp", "warning",
            "resource/gfx: unused file 'old map.bmp' (0 bytes)", "unused-files")),
    ("C:/games/a:b/resource/Orvanta3.dat:1: error: location 2: missing file 'x.gif' [missing]",
     expect("C:/games/a:b/resource/Orvanta3.dat", "error", "location 2: missing file 'x.gif'", "missing")),
    ("maps:1:2/ quest .orv:1: warning: flag 9: no enabled statement tests or changes it [unused-flags]",
     expect("maps:1:2/ quest .orv", "warning", "flag 9: no enabled statement tests or changes it", "unused-flags")),
    # A message holding brackets, colons and what looks like a severity.
    ("g/q.orv:1: error: cue card 3: missing file 'a [b]:1: error: c.gif' [missing]",
     expect("g/q.orv", "error", "cue card 3: missing file 'a [b]:1: error: c.gif'", "missing")),
    # Not findings: summary lines, messages on stderr, malformed lines.
    ("examples/lighthouse/lighthouse.orv: 11 errors, 236 warnings (missing 11, unused-files 5, unused-flags 229,"
     " dead-ends 1, out-of-range 1)", None),
    ("examples/lighthouse/lighthouse.orv: 0 errors, 2 warnings (dead-ends 2), 3 fixed since the baseline", None),
    ("a [b]:1: x.orv: 1 error, 0 warnings (missing 1)", None),
    ("orvanta-scan: game/resource/gfx: cannot list the folder: Permission denied", None),
    ("examples/lighthouse/lighthouse.orv: error: flag 26: no enabled statement tests or changes it [unused-flags]",
     None),
    ("x.orv:1: fatal: flag 26: unknown [unused-flags]", None),
    ("x.orv:1: warning: flag 26: no class", None),
    ("x.orv:1: warning: flag 26: upper-case class [Unused-Flags]", None),
    ("x.orv:1: warning: flag 26: more after the class [unused-flags] here", None),
    ("x.orv:1: warning: flag 26: not a class name [unused-]", None),
    ("x.orv:one: warning: flag 26: no line [unused-flags]", None),
    ("", None),
]


def check_output(matchers, path):
    with open(path, encoding="utf-8", errors="replace") as f:
        lines = f.read().splitlines()
    failures = []
    if not lines:
        failures.append(f"{path} is empty")
        return failures
    *findings, summary = lines
    for line in findings:
        fields = annotate(matchers, line)
        if fields is None:
            failures.append(f"a finding line is not taken: {line!r}")
        elif fields["code"] not in CLASSES or fields["line"] != "1":
            failures.append(f"taken wrongly: {line!r} gives {fields}")
    if annotate(matchers, summary) is not None:
        failures.append(f"the summary line is taken: {summary!r}")
    return failures


def main():
    matchers = load(sys.argv[1])
    failures = []
    for line, expected in CASES:
        got = annotate(matchers, line)
        if got != expected:
            failures.append(f"{line!r}\n  expected {expected}\n  got      {got}")
    passed = len(CASES) - len(failures)
    if len(sys.argv) == 4 and sys.argv[2] == "--check-output":
        output_failures = check_output(matchers, sys.argv[3])
        failures += output_failures
        passed += 0 if output_failures else 1
    for failure in failures:
        print("FAIL:", failure)
    print(f"{passed} passed, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
