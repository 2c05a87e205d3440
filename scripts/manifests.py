#!/usr/bin/env python3
"""The package managers' manifests of a release, and their check.

  manifests.py write DIST VERSION RELEASE_URL   writes DIST/folvane.json and DIST/winget/*.yaml
  manifests.py check DIST VERSION               reads them back and holds them to the archives

Scoop takes one JSON file; winget takes three YAML files (version, installer, default locale).
Both install the zip archive of each architecture, check it by its SHA-256, and run Folvane.exe
from it as a portable program. Scoop keeps Folvane.ini and PassDat.ini across updates
("persist"), so an update keeps the user password and the protected list.

Scoop persists a file by a hard link between the program's folder and its persist folder, and a
name that is in neither place becomes a folder. Folvane writes a data file by putting a new file
in the old one's place, which cuts such a link. So the manifest makes each data file, empty (the
program takes an empty file for a missing one), before Scoop persists it, and before an update or
an uninstall takes the old folder away it copies each file whose link was cut back to the
persist folder.
"""
import hashlib
import json
import sys
import zipfile
from pathlib import Path

import yaml

IDENTIFIER = "Folvane.Folvane"
MANIFEST_VERSION = "1.6.0"
PROGRAM = "Folvane.exe"
DATA_FILES = ["Folvane.ini", "PassDat.ini"]
ARCHITECTURES = {"win64": ("64bit", "x64"), "win32": ("32bit", "x86")}
DESCRIPTION_JA = "フォルダをパスワードで守る常駐ソフト"
DESCRIPTION_EN = "Guards folders with a password from the notification area."
DATA_FILE_LIST = ", ".join(f"'{name}'" for name in DATA_FILES)
SCOOP_PRE_INSTALL = [
    f"foreach ($file in {DATA_FILE_LIST}) {{",
    "    if (!(Test-Path \"$persist_dir\\$file\")) {",
    "        New-Item \"$dir\\$file\" -ItemType File | Out-Null",
    "    }",
    "}",
]
SCOOP_PRE_UNINSTALL = [
    f"foreach ($file in {DATA_FILE_LIST}) {{",
    "    $used = \"$dir\\$file\"; $kept = \"$persist_dir\\$file\"",
    "    if ((Test-Path $used -PathType Leaf) -and (Test-Path $kept -PathType Leaf) -and",
    "        ((Get-FileHash $used).Hash -ne (Get-FileHash $kept).Hash)) {",
    "        Copy-Item $used $kept -Force",
    "    }",
    "}",
]


def archive(dist, version, arch):
    return dist / f"Folvane-{version}-{arch}.zip"


def sha256(path):
    return hashlib.sha256(path.read_bytes()).hexdigest()


def write(dist, version, release):
    scoop = {
        "version": version,
        "description": DESCRIPTION_EN,
        "homepage": release,
        "license": "Freeware",
        "architecture": {
            scoop_arch: {
                "url": f"{release}/{archive(dist, version, arch).name}",
                "hash": sha256(archive(dist, version, arch)),
            }
            for arch, (scoop_arch, _) in ARCHITECTURES.items()
        },
        "bin": PROGRAM,
        "shortcuts": [[PROGRAM, "Folvane"]],
        "persist": DATA_FILES,
        "pre_install": SCOOP_PRE_INSTALL,
        "pre_uninstall": SCOOP_PRE_UNINSTALL,
    }
    (dist / "folvane.json").write_text(
        json.dumps(scoop, ensure_ascii=False, indent=2) + "\n", encoding="utf-8")

    winget = dist / "winget"
    winget.mkdir(exist_ok=True)
    common = {"PackageIdentifier": IDENTIFIER, "PackageVersion": version}
    files = {
        f"{IDENTIFIER}.yaml": {
            **common, "DefaultLocale": "ja-JP",
            "ManifestType": "version", "ManifestVersion": MANIFEST_VERSION},
        f"{IDENTIFIER}.installer.yaml": {
            **common,
            "InstallerType": "zip",
            "NestedInstallerType": "portable",
            "NestedInstallerFiles": [
                {"RelativeFilePath": PROGRAM, "PortableCommandAlias": "folvane"}],
            "Installers": [
                {
                    "Architecture": winget_arch,
                    "InstallerUrl": f"{release}/{archive(dist, version, arch).name}",
                    "InstallerSha256": sha256(archive(dist, version, arch)).upper(),
                }
                for arch, (_, winget_arch) in ARCHITECTURES.items()
            ],
            "ManifestType": "installer", "ManifestVersion": MANIFEST_VERSION},
        f"{IDENTIFIER}.locale.ja-JP.yaml": {
            **common, "PackageLocale": "ja-JP", "Publisher": "Folvane",
            "PackageName": "Folvane", "License": "Freeware",
            "ShortDescription": DESCRIPTION_JA,
            "ManifestType": "defaultLocale", "ManifestVersion": MANIFEST_VERSION},
    }
    for name, content in files.items():
        (winget / name).write_text(
            yaml.safe_dump(content, allow_unicode=True, sort_keys=False), encoding="utf-8")
    print(f"package: {dist}/folvane.json and {dist}/winget/ ({len(files)} files)")


def fail(message):
    print(f"manifests: {message}", file=sys.stderr)
    sys.exit(1)


def check(dist, version):
    archives = {arch: archive(dist, version, arch) for arch in ARCHITECTURES}
    contents = {}
    for arch, path in archives.items():
        with zipfile.ZipFile(path) as zipped:
            contents[arch] = set(zipped.namelist())
        if PROGRAM not in contents[arch]:
            fail(f"{path.name} holds no {PROGRAM}")

    scoop = json.loads((dist / "folvane.json").read_text(encoding="utf-8"))
    if scoop["version"] != version:
        fail(f"Scoop's version is {scoop['version']}, not {version}")
    if scoop["bin"] not in contents["win64"] or scoop["bin"] not in contents["win32"]:
        fail(f"Scoop runs {scoop['bin']}, which an archive does not hold")
    if sorted(scoop["persist"]) != sorted(DATA_FILES):
        fail(f"Scoop keeps {scoop['persist']} across updates, not the data files")
    # Without these a data file would become a folder at the first install, and an update would
    # bring back the file as it was when the program first wrote it.
    for hook in ("pre_install", "pre_uninstall"):
        script = "\n".join(scoop.get(hook, []))
        for name in scoop["persist"]:
            if f"'{name}'" not in script:
                fail(f"Scoop's {hook} does not look after {name}")
    for arch, (scoop_arch, _) in ARCHITECTURES.items():
        entry = scoop["architecture"][scoop_arch]
        if not entry["url"].endswith("/" + archives[arch].name):
            fail(f"Scoop's {scoop_arch} address does not name {archives[arch].name}")
        if entry["hash"] != sha256(archives[arch]):
            fail(f"Scoop's {scoop_arch} hash is not that of {archives[arch].name}")

    winget = {path.name: yaml.safe_load(path.read_text(encoding="utf-8"))
              for path in (dist / "winget").glob("*.yaml")}
    types = {content["ManifestType"]: content for content in winget.values()}
    if sorted(types) != ["defaultLocale", "installer", "version"]:
        fail(f"winget's manifests are {sorted(types)}")
    for content in winget.values():
        if content["PackageIdentifier"] != IDENTIFIER or content["PackageVersion"] != version:
            fail(f"a winget manifest names {content['PackageIdentifier']} {content['PackageVersion']}")
    if types["version"]["DefaultLocale"] != types["defaultLocale"]["PackageLocale"]:
        fail("winget's default locale has no manifest of its own")
    installer = types["installer"]
    for nested in installer["NestedInstallerFiles"]:
        for arch in ARCHITECTURES:
            if nested["RelativeFilePath"] not in contents[arch]:
                fail(f"winget runs {nested['RelativeFilePath']}, which an archive does not hold")
    by_arch = {entry["Architecture"]: entry for entry in installer["Installers"]}
    for arch, (_, winget_arch) in ARCHITECTURES.items():
        entry = by_arch.get(winget_arch)
        if not entry:
            fail(f"winget has no {winget_arch} installer")
        if not entry["InstallerUrl"].endswith("/" + archives[arch].name):
            fail(f"winget's {winget_arch} address does not name {archives[arch].name}")
        if entry["InstallerSha256"] != sha256(archives[arch]).upper():
            fail(f"winget's {winget_arch} hash is not that of {archives[arch].name}")
    print("manifests: Scoop's and winget's manifests match the archives")


def main(argv):
    if len(argv) == 5 and argv[1] == "write":
        write(Path(argv[2]), argv[3], argv[4])
    elif len(argv) == 4 and argv[1] == "check":
        check(Path(argv[2]), argv[3])
    else:
        fail("usage: manifests.py write DIST VERSION RELEASE_URL | check DIST VERSION")


if __name__ == "__main__":
    main(sys.argv)
