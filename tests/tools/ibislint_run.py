#!/usr/bin/env python3
"""Runs the ibislint command as users and CI jobs do.

usage: ibislint_run.py IBISLINT CHECK [ARGS...]

CHECK is one of
  schema SCHEMA PATH...   the --format json document validates against SCHEMA
                          (exit 77, skipped, without the jsonschema module)
  verdicts PATH...        text, gnu and json give the same verdicts, in order
  repeats                 a systematic fault is shown 20 times and counted
                          in full; --all-messages shows every message
"""
import json
import os
import re
import subprocess
import sys
import tempfile

SKIP = 77


def run(lint, *args):
    done = subprocess.run([lint, *args], stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                          text=True, errors="replace")
    if done.returncode not in (0, 1):
        sys.exit(f"{args}: exit status {done.returncode}\n{done.stderr}")
    return done.returncode, done.stdout


def check_schema(lint, schema_path, *paths):
    try:
        import jsonschema
    except ImportError:
        print("jsonschema is not installed: skipped")
        return SKIP
    _, out = run(lint, "--format", "json", *paths)
    with open(schema_path) as f:
        schema = json.load(f)
    document = json.loads(out)
    jsonschema.validate(document, schema)
    if not document["files"]:
        sys.exit("no file checked")
    return 0


def check_verdicts(lint, *paths):
    status_text, text = run(lint, *paths)
    status_gnu, gnu = run(lint, "--format", "gnu", *paths)
    status_json, out = run(lint, "--format", "json", *paths)
    document = json.loads(out)
    from_json = [f["verdict"] == "passed" for f in document["files"]]
    from_text = [m == "Passed" for m in re.findall(r"^File (Passed|Failed)$", text, re.M)]
    from_gnu = [m == "Passed" for m in re.findall(r": note: File (Passed|Failed) ", gnu)]
    if not (from_json == from_text == from_gnu):
        sys.exit(f"verdicts differ:\n text {from_text}\n gnu  {from_gnu}\n json {from_json}")
    if not (status_text == status_gnu == status_json == (0 if all(from_json) else 1)):
        sys.exit(f"exit statuses differ: {status_text} {status_gnu} {status_json}")
    closing = re.findall(r"^ibislint: (\d+) files? checked: (\d+) passed, (\d+) failed$", text, re.M)
    summary = document["summary"]
    if closing != [(str(summary["files"]), str(summary["passed"]), str(summary["failed"]))]:
        sys.exit(f"closing line {closing} does not match {summary}")
    print(f"{len(from_json)} files, {sum(from_json)} passed: the same in every format")
    return 0


def check_repeats(lint):
    with tempfile.TemporaryDirectory() as d:
        path = os.path.join(d, "r.ibs")
        with open(path, "w") as f:
            f.write("[IBIS Ver] 3.2\n[File Name] r.ibs\n[File Rev] 1\n[Bogus]\n")
            f.write("".join(f"data {i}\n" for i in range(25)))
            f.write("[End]\n")
        _, limited = run(lint, "--silent", path)
        _, everything = run(lint, "--silent", "--all-messages", path)
        _, document = run(lint, "--format", "json", path)
    message = re.compile(r"^ERROR \(line +\d+\) - Data for unknown keyword\.$", re.M)
    shown = len(message.findall(limited))
    if shown != 20 or "5 more messages like E0907" not in limited:
        sys.exit(f"default limit: {shown} shown\n{limited}")
    if len(message.findall(everything)) != 25 or "not shown" in everything:
        sys.exit(f"--all-messages:\n{everything}")
    # The counts stay exact whatever is shown.
    for out in (limited, everything):
        if "Errors  : 26" not in out:
            sys.exit(f"counts:\n{out}")
    f = json.loads(document)["files"][0]
    if f["counts"]["errors"] != 26 or f["hidden"][0]["count"] != 5:
        sys.exit(f"json: {f}")
    return 0


def main(argv):
    lint, check, args = argv[1], argv[2], argv[3:]
    checks = {"schema": check_schema, "verdicts": check_verdicts, "repeats": check_repeats}
    return checks[check](lint, *args)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
