#!/usr/bin/env python3
"""Builds the demo vendor service's content and answer file.

Products: the demo product program, copied once per product and version under the product's file name and stamped
with that version, packed with an installer "instalar.exe" in a ZIP archive per product and version. On Linux the
stamp is an ELF .note.package note (added with objcopy) and the installer a shell script with the program appended;
with --windows the stamp goes into the Windows demo product's version resource (its caption and version) and the
installer is the Windows demo installer with the program appended. The browser application's installer places the
PE runtime library libcef.dll. The launcher's own archive holds, on Linux, an installer that only records that it
ran; with --windows it is the launcher's real update archive (--launcher-archive).

Every installer appends one line to "instalar.log" in the Program Files folder: what it installed and its arguments.

Archives are kept in OUT/served/app/ and built only when missing, so a rerun with other versions adds to them; a
rebuilt demo product makes them all anew. The latest versions the service reports are kept in OUT/versions.json:
--version changes them for this and every later run (as a vendor's latest versions stay until the next release),
--default-versions puts the vendor's example answer back. The answer file OUT/vendor.json (the simulated service's
configuration) is rewritten on every run: it names the links with the service's HOST, which changes with every start.

Usage: make_demo.py --product BIN --libcef DLL --out DIR --host HOST:PORT [--version KEY=VERSION ...]
                    [--default-versions] [--no-ad]
                    [--windows --installer EXE --catalogue JSON --launcher-archive ZIP]
"""

import argparse
import json
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import zipfile

# The latest versions the demo service reports: the vendor's example answer.
DEFAULT_VERSIONS = {"twit": "2.41", "face": "5.12", "contact": "1.30", "insta": "4.07", "whats": "3.55",
                    "tube": "2.08", "sms": "1.64", "menu": "1.78", "tele": "2.93", "tik": "1.17", "lx": "1.02",
                    "nav": "109"}
# The command-line word of a product where it differs from its key.
KEY_ALIASES = {"messages": "whats"}
# Items of the link list, by product key (the others hold "x").
LINK_ITEMS = {"twit": 1, "face": 3, "contact": 5, "insta": 7, "whats": 9, "tube": 11, "sms": 13, "menu": 15,
              "tele": 17, "tik": 19, "lx": 21}
ADVERTISEMENT = "ad;1|Novo curso gratuito de marketing digital|https://www.quorvel.com.br/cursos"

INSTALLER_HEAD = """#!/bin/sh
# Demo installer of {caption} {version}: installs the program appended to this script and starts it.
set -e
program_files=${{QUORVEL_PROGRAM_FILES:-/opt}}
folder="$program_files{folder}"
mkdir -p "$folder"
printf '%s\\n' "{file} {version}: $*" >> "$program_files/instalar.log"
tail -n +@PAYLOAD_LINE@ "$0" > "$folder/{file}.new"
chmod {mode} "$folder/{file}.new"
mv -f "$folder/{file}.new" "$folder/{file}"
{start}sleep 2 # an installer lives a moment: the launcher watches for its process
exit 0
"""

LAUNCHER_INSTALLER = """#!/bin/sh
# Demo installer of the launcher {version}: the demo keeps the launcher it was built with, so it only records.
program_files=${{QUORVEL_PROGRAM_FILES:-/opt}}
mkdir -p "$program_files"
printf '%s\\n' "quorvel {version}: $*" >> "$program_files/instalar.log"
sleep 2
"""


def installer_script(caption, version, folder, file, program=True):
    """The installer's script part; the payload follows its last line."""
    start = f'setsid "$folder/{file}" < /dev/null > /dev/null 2>&1 &\n' if program else ""
    head = INSTALLER_HEAD.format(caption=caption, version=version, folder=folder.rstrip("/"), file=file,
                                 mode="755" if program else "644", start=start)
    return head.replace("@PAYLOAD_LINE@", str(head.count("\n") + 1))


def stamped_version(latest):
    """The file version whose first three digits match the latest-version text: 5.12 gives 5.1.2.0."""
    digits = [c for c in latest if c.isdigit()]
    while len(digits) < 4:
        digits.append("0")
    return ".".join(digits)


def package_note(version):
    """An ELF note as GNU ld's --package-metadata writes it: owner "FDO", type 0xcafe1a7e, JSON text."""
    text = json.dumps({"type": "demo", "name": "quorvel-demo", "version": version}).encode() + b"\0"
    text += b"\0" * (-len(text) % 4)
    return struct.pack("<III", 4, len(text), 0xCAFE1A7E) + b"FDO\0" + text


def stamp(program, version, out):
    with tempfile.TemporaryDirectory() as work:
        note = os.path.join(work, "note.bin")
        with open(note, "wb") as f:
            f.write(package_note(version))
        subprocess.run(["objcopy", "--remove-section", ".note.package", "--add-section", ".note.package=" + note,
                        "--set-section-flags", ".note.package=readonly", program, out], check=True)


# The runs of placeholder characters in the Windows demo product's version resource (win32/DemoProduct.rc).
CAPTION_PLACEHOLDER = ("#" * 48).encode("utf-16-le")
VERSION_PLACEHOLDER = ("@" * 24).encode("utf-16-le")
FIXED_VERSION_SIGNATURE = struct.pack("<I", 0xFEEF04BD)


def replace_placeholder(data, placeholder, text):
    value = text.encode("utf-16-le")
    if len(value) > len(placeholder) or data.count(placeholder) != 1:
        sys.exit(f"cannot stamp {text!r} into the Windows demo product")
    return data.replace(placeholder, value + b"\0" * (len(placeholder) - len(value)))


def stamp_windows(program, caption, version, out):
    """A copy of the Windows demo product carrying the caption and version in its version resource, as its
    FileDescription and FileVersion texts and as its numeric file and product version."""
    with open(program, "rb") as f:
        data = f.read()
    data = replace_placeholder(data, CAPTION_PLACEHOLDER, caption)
    data = replace_placeholder(data, VERSION_PLACEHOLDER, version)
    n = [int(number) for number in version.split(".")][:4] + [0] * 4
    numbers = struct.pack("<IIII", n[0] << 16 | n[1], n[2] << 16 | n[3], n[0] << 16 | n[1], n[2] << 16 | n[3])
    fixed = data.find(FIXED_VERSION_SIGNATURE)
    if fixed < 0:
        sys.exit("the Windows demo product has no version resource")
    start = fixed + 8  # after the signature and the structure version
    data = data[:start] + numbers + data[start + len(numbers):]
    with open(out, "wb") as f:
        f.write(data)


def windows_installer_bytes(installer, payload_path, folder, file, start, label):
    """The Windows demo installer with its payload appended (see win32/DemoInstaller.cpp)."""
    with open(installer, "rb") as f:
        data = f.read()
    with open(payload_path, "rb") as f:
        payload = f.read()
    text = "\n".join([folder.replace("\\", "/").strip("/").replace("/", "\\"), file, "1" if start else "0", label]).encode()
    return data + payload + text + struct.pack("<II", len(payload), len(text)) + b"QVDEMO1\0"


def installer_bytes(script, payload_path=None):
    """An installer: its script, then the payload's bytes."""
    data = script.encode()
    if payload_path is not None:
        with open(payload_path, "rb") as f:
            data += f.read()
    return data


def write_installer_archive(archive, data):
    """A ZIP holding the installer as "instalar.exe", stored executable."""
    entry = zipfile.ZipInfo("instalar.exe", date_time=(2026, 1, 1, 0, 0, 0))
    entry.external_attr = (0o100755 << 16)
    entry.compress_type = zipfile.ZIP_DEFLATED
    partial = archive + ".part"
    with zipfile.ZipFile(partial, "w") as z:
        z.writestr(entry, data)
    os.replace(partial, archive)


def write_program_installer(path, data):
    partial = path + ".part"
    with open(partial, "wb") as f:
        f.write(data)
    os.chmod(partial, 0o755)
    os.replace(partial, path)


def latest_versions(out, overrides, default):
    """The versions the service reports: the vendor's example answer, changed by earlier and these overrides."""
    path = os.path.join(out, "versions.json")
    versions = dict(DEFAULT_VERSIONS)
    if not default and os.path.exists(path):
        with open(path) as f:
            versions.update({k: v for k, v in json.load(f).items() if k in versions})
    for item in overrides:
        key, _, value = item.partition("=")
        key = KEY_ALIASES.get(key, key)
        if key not in versions or not value:
            valid = " ".join(sorted(versions) + sorted(KEY_ALIASES))
            sys.exit(f"QUORVEL_DEMO_VERSIONS: {item!r} is not KEY=VERSION with a KEY of: {valid}")
        versions[key] = value
    partial = path + ".part"
    with open(partial, "w") as f:
        json.dump(versions, f, indent=1)
    os.replace(partial, path)
    return versions


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--product", required=True, help="the built quorvel_demo_product")
    parser.add_argument("--libcef", required=True, help="the demo runtime library (a PE file with a version)")
    parser.add_argument("--out", required=True)
    parser.add_argument("--host", required=True, help="host:port of the demo service, for the links")
    parser.add_argument("--version", action="append", default=[], metavar="KEY=VERSION",
                        help="report another latest version from now on (menu=1.79 makes the launcher update itself)")
    parser.add_argument("--default-versions", action="store_true", help="report the vendor's example versions again")
    parser.add_argument("--no-ad", action="store_true", help="answer without an advertisement")
    parser.add_argument("--windows", action="store_true", help="Windows demo products (--installer, --catalogue)")
    parser.add_argument("--installer", help="the built Windows demo installer")
    parser.add_argument("--catalogue", help="the launcher's product table as JSON (quorvel_demo_catalogue_print)")
    parser.add_argument("--launcher-archive", help="the launcher's update archive (quorvel-VERSION.zip)")
    args = parser.parse_args()
    if args.windows and not (args.installer and args.catalogue and args.launcher_archive):
        parser.error("--windows needs --installer, --catalogue and --launcher-archive")

    os.makedirs(args.out, exist_ok=True)
    versions = latest_versions(args.out, args.version, args.default_versions)
    if args.catalogue:
        with open(args.catalogue) as f:
            rows = json.load(f)
    else:
        rows = json.loads(subprocess.run([args.product, "--demo-catalogue"], check=True, capture_output=True,
                                         env=dict(os.environ, QT_QPA_PLATFORM="offscreen")).stdout)
    served = os.path.join(args.out, "served")
    app = os.path.join(served, "app")
    product_id = os.path.join(args.out, "product.id")
    identity = ""
    for used in [args.product, args.installer, args.launcher_archive]:
        if used:
            stat = os.stat(used)
            identity += f"{stat.st_size} {stat.st_mtime_ns}\n"
    if not os.path.exists(product_id) or open(product_id).read() != identity:
        shutil.rmtree(app, ignore_errors=True)
    os.makedirs(app, exist_ok=True)
    with open(product_id, "w") as f:
        f.write(identity)

    links = {}
    for row in rows:
        key, latest = row["key"], versions[row["key"]]
        if key == "nav":
            # The launcher asks for /app/quornav_<latest>.exe, a program installer rather than an archive.
            installer = os.path.join(app, f"quornav_{latest}.exe")
            if os.path.exists(installer):
                continue
            if args.windows:
                data = windows_installer_bytes(args.installer, args.libcef, row["installFolder"], row["file"],
                                               False, f"{row['file']} {latest}")
            else:
                script = installer_script("Quorvel Navigator", latest, row["installFolder"], row["file"],
                                          program=False)
                data = installer_bytes(script, args.libcef)
            write_program_installer(installer, data)
            continue
        stem = os.path.splitext(row["archive"])[0]
        archive = os.path.join(app, f"{stem}-{latest}.zip")
        links[key] = f"https://{args.host}/app/{stem}-{latest}.zip"
        if os.path.exists(archive):
            continue
        if key == "menu":
            if args.windows:
                shutil.copyfile(args.launcher_archive, archive + ".part")
                os.replace(archive + ".part", archive)
            else:
                write_installer_archive(archive, installer_bytes(LAUNCHER_INSTALLER.format(version=latest)))
            continue
        version = stamped_version(latest)
        with tempfile.TemporaryDirectory() as work:
            program = os.path.join(work, row["file"])
            if args.windows:
                stamp_windows(args.product, row["caption"], version, program)
                data = windows_installer_bytes(args.installer, program, row["installFolder"], row["file"], True,
                                               f"{row['file']} {version}")
            else:
                stamp(args.product, version, program)
                script = installer_script(row["caption"], version, row["installFolder"], row["file"])
                data = installer_bytes(script, program)
            write_installer_archive(archive, data)

    fields = ["0"] * 43
    fields[0] = "ok"
    for row in rows:
        fields[row["versionField"]] = versions[row["key"]]
    fields[42] = "0000"  # every tile shown
    answer = ";".join(fields) + ("" if args.no_ad else ";" + ADVERTISEMENT)

    items = ["ok"] + ["x"] * 21
    for key, item in LINK_ITEMS.items():
        items[item] = links[key]
    config = {"files": served, "routes": {"/vrs.php": [{"body": answer}], "/ldl.php": [{"body": ";".join(items)}]}}
    partial = os.path.join(args.out, "vendor.json.part")
    with open(partial, "w") as f:
        json.dump(config, f, indent=1)
    os.replace(partial, os.path.join(args.out, "vendor.json"))


if __name__ == "__main__":
    main()
