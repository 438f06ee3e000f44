#!/usr/bin/env python3
"""Runs the ibislint command as users and CI jobs do.

usage: ibislint_run.py IBISLINT CHECK [ARGS...]

CHECK is one of
  schema SCHEMA PATH...   the --format json document validates against SCHEMA
                          (exit 77, skipped, without the jsonschema module)
  verdicts PATH...        text, gnu and json give the same verdicts, in order
  repeats                 a systematic fault is shown 20 times and counted
                          in full; --all-messages shows every message
  files                   a message about a file the checked one names (a
                          referenced board file, a .pkg file found beside
                          it) names that file in every format
  texts PATH...           the json texts are what the text output prints:
                          the text output rebuilt from the document equals it
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


HEAD = "[IBIS Ver] 3.2\n[File Name] {}\n[File Rev] 1\n"
BOARD = ("[Begin Board Description] {}\n[Manufacturer] m\n[Number Of Pins] 1\n"
         "[Pin List] signal_name\n1 S1\n[Path Description] p\n")
COMPONENT = ("[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1m NA NA\nL_pkg 1n NA NA\n"
             "C_pkg 1p NA NA\n[Pin] signal_name model_name\nA1 VDD POWER\n")


def write(d, name, text):
    path = os.path.join(d, name)
    with open(path, "w") as f:
        f.write(text)
    return path


def check_files(lint):
    """b.ebd names s.ebd, whose board lacks its end; c.ibs names a package
    model that p.pkg defines without [OEM]."""
    with tempfile.TemporaryDirectory() as d:
        write(d, "s.ebd", HEAD.format("s.ebd") + BOARD.format("s") + "Pin 1\n[End]\n")
        board = write(d, "b.ebd", HEAD.format("b.ebd") + BOARD.format("b") +
                      "Pin 1 Node u1.1 Node u1.2\n[Reference Designator Map]\nu1 s.ebd s\n"
                      "[End Board Description]\n[End]\n")
        write(d, "p.pkg", HEAD.format("p.pkg") +
              "[Define Package Model] p\n[Manufacturer] m\n[Description] d\n"
              "[Number of Pins] 1\n[Pin Numbers]\nA1\n[Model Data]\n"
              "[Inductance Matrix] Full_matrix\n[Row] A1\n1n\n"
              "[Capacitance Matrix] Full_matrix\n[Row] A1\n1p\n"
              "[End Model Data]\n[End Package Model]\n[End]\n")
        ibs = write(d, "c.ibs", HEAD.format("c.ibs") + COMPONENT + "[Package Model] p\n[End]\n")
        expected = [
            (os.path.join(d, "s.ebd"), "E4332", "Required End_Board_Description keyword"),
            (board, "E4389", "Pin '2' not found on Component 's' in file 's.ebd'"),
            (os.path.join(d, "p.pkg"), "E3418", "OEM keyword not found for Package Model 'p'"),
        ]
        _, gnu = run(lint, "--format", "gnu", board, ibs)
        _, text = run(lint, "--silent", board, ibs)
        document = json.loads(run(lint, "--format", "json", board, ibs)[1])
    messages = [m for f in document["files"] for m in f["messages"]]
    for path, code, words in expected:
        if f"{path}: error: {words}" not in gnu or f"[{code}]" not in gnu:
            sys.exit(f"gnu does not name {path} for {code}:\n{gnu}")
        if not any(m["file"] == path and m["code"] == code for m in messages):
            sys.exit(f"json does not name {path} for {code}: {messages}")
        prefix = "" if path in (board, ibs) else path + ": "
        if not re.search("^" + re.escape(prefix) + r"ERROR[ -].*\n?.*" + re.escape(words), text, re.M):
            sys.exit(f"text does not name {path} for {code}:\n{text}")
    return 0


# The line forms of the message log: the text moves to its own line,
# indented by four blanks, when its length is in [lower bound, 75].
WORDS = {"bug": ("PROGRAM BUG", None, None), "error": ("ERROR", 72, 60),
         "warning": ("WARNING", 70, 58), "caution": ("CAUTION", 70, 58),
         "note": ("NOTE", 73, 61)}


def render(m, checked):
    word, bound, bound_line = WORDS[m["severity"]]
    lower = bound_line if m["line"] else bound
    out = "" if m["file"] == checked else m["file"] + ": "
    out += word + (f" (line {m['line']:4d})" if m["line"] else "")
    text = m["text"]
    two = lower is not None and lower <= len(text) <= 75
    return out + (" -\n    " if two else " - ") + text + "\n"


def check_texts(lint, *paths):
    """Rebuilds each file's text output from its json messages."""
    with tempfile.TemporaryDirectory() as d:
        # Texts with a trailing blank, a leading blank, a closing line break.
        odd = write(d, "odd.ibs", HEAD.format("odd.ibs") + COMPONENT +
                    "2 b NC\n3 c NC\n[Diff Pin] inv_pin vdiff tdelay_typ tdelay_min tdelay_max\n"
                    "2 3 0.2 3n 1n 2n\n[Series Pin Mapping] pin_2 model_name\n2 3\n"
                    "[Series Switch Groups]\nOn g\n[End]\n")
        _, listing = run(lint, "--format", "json", *paths)
        files = [f["path"] for f in json.loads(listing)["files"]] + [odd]
        compared = 0
        for path in files:
            _, text = run(lint, "--silent", "--all-messages", path)
            document = json.loads(run(lint, "--format", "json", "--all-messages", path)[1])
            f = document["files"][0]
            rebuilt = "".join(render(m, path) for m in f["messages"])
            # The messages, then the summary: a blank line and the counts
            # when there is any bug, error or warning.
            body = text[:text.rfind("Errors  : ")]
            body = re.sub(r"\n(Bugs    : \d+\n)?\Z", "", body, count=1)
            if rebuilt != body:
                sys.exit(f"{path}: the text output and the json texts differ:\n"
                         f"--- text\n{body}--- rebuilt from json\n{rebuilt}")
            compared += len(f["messages"])
    print(f"{len(files)} files, {compared} messages: json texts are the text output's")
    return 0


def main(argv):
    lint, check, args = argv[1], argv[2], argv[3:]
    checks = {"schema": check_schema, "verdicts": check_verdicts, "repeats": check_repeats,
              "files": check_files, "texts": check_texts}
    return checks[check](lint, *args)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
