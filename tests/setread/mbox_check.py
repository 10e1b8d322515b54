#!/usr/bin/env python3
"""Reads mbox files with Python's mailbox module and compares them with the export's message files.

    mbox_check.py MBOX MESSAGE-FOLDER [MBOX MESSAGE-FOLDER ...]

Each mbox must hold as many messages as the folder holds .eml and .nws files, and the same ones:
each message's bytes (the mboxrd quoting of "From " lines undone) are the file's bytes with CR LF
turned into LF, and a message of one part in 7bit or 8bit has the file's body as its payload. Prints what differs
and exits 1, or exits 0.
"""
import collections
import mailbox
import os
import re
import sys

QUOTED_FROM = re.compile(rb"^>(>*From )", re.MULTILINE)


def body_of(text):
    """What follows the header's end (the first empty line)."""
    lines = text.split(b"\n")
    for i, line in enumerate(lines):
        if line == b"":
            return b"\n".join(lines[i + 1:])
    return b""


def check(mbox_path, folder):
    problems = []
    box = mailbox.mbox(mbox_path, create=False)
    expected = collections.Counter()
    for name in sorted(os.listdir(folder)):
        if name.endswith((".eml", ".nws")):
            with open(os.path.join(folder, name), "rb") as f:
                expected[f.read().replace(b"\r\n", b"\n")] += 1
    got = collections.Counter()
    for key in box.keys():
        raw = QUOTED_FROM.sub(rb"\1", box.get_bytes(key))
        got[raw] += 1
        message = box[key]
        encoding = str(message.get("Content-Transfer-Encoding", "7bit")).strip().lower()
        if not message.is_multipart() and encoding in ("7bit", "8bit", "binary"):
            payload = message.get_payload(decode=True)
            if QUOTED_FROM.sub(rb"\1", payload) != body_of(raw):
                problems.append(f"{mbox_path}: message {key}: the payload is not the body")
    if len(box) != sum(expected.values()):
        problems.append(f"{mbox_path}: {len(box)} messages, {folder}: {sum(expected.values())} files")
    for text in (expected - got):
        problems.append(f"{mbox_path}: missing {text[:80]!r}")
    for text in (got - expected):
        problems.append(f"{mbox_path}: unexpected {text[:80]!r}")
    return problems


def main(args):
    if len(args) % 2 or not args:
        print(__doc__, file=sys.stderr)
        return 2
    problems = []
    for i in range(0, len(args), 2):
        problems += check(args[i], args[i + 1])
    for problem in problems:
        print(problem, file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
