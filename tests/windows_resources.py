#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""orvanta.exe's resources as Explorer and Windows read them: an icon of 16,
32, 48 and 256 pixels, the version, and the manifest; in the built program
and in the portable zip's copy, which holds orvanta.exe, LICENSE.txt and
LEIA-ME.txt and nothing else.
Usage: windows_resources.py ORVANTA.exe ORVANTA.zip"""
import re
import struct
import sys
import zipfile

import pefile


def check(name, data):
    pe = pefile.PE(data=data)
    resources = {entry.id: entry for entry in pe.DIRECTORY_ENTRY_RESOURCE.entries}

    def first(kind):
        leaf = resources[kind].directory.entries[0].directory.entries[0].data.struct
        return pe.get_data(leaf.OffsetToData, leaf.Size)

    group = first(pefile.RESOURCE_TYPE["RT_GROUP_ICON"])
    count = struct.unpack_from("<H", group, 4)[0]
    # GRPICONDIRENTRY: a width of 0 is 256.
    sizes = sorted(group[6 + 14 * i] or 256 for i in range(count))
    assert set(sizes) >= {16, 32, 48, 256}, f"{name}: icon sizes {sizes}"

    strings = {k.decode(): v.decode() for info in pe.FileInfo[0] if info.Key == b"StringFileInfo"
               for table in info.StringTable for k, v in table.entries.items()}
    for key, wanted in [("ProductName", "Orvanta"), ("CompanyName", "Vintoral"), ("FileVersion", "1.0"),
                        ("ProductVersion", "1.0"), ("OriginalFilename", "orvanta.exe")]:
        assert strings.get(key) == wanted, f"{name}: {key} is {strings.get(key)!r}"
    for key in "FileDescription", "LegalCopyright":
        assert strings.get(key), f"{name}: no {key}"

    manifest = re.sub(r"\s+", " ", first(pefile.RESOURCE_TYPE["RT_MANIFEST"]).decode("utf-8"))
    for pattern in [r'name="Microsoft\.Windows\.Common-Controls" version="6\.0\.0\.0"',
                    r"<dpiAwareness[^>]*>PerMonitorV2</dpiAwareness>",
                    r'<supportedOS Id="\{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a\}"',
                    r'<requestedExecutionLevel level="asInvoker"']:
        assert re.search(pattern, manifest), f"{name}: the manifest lacks {pattern}"


program, portable = sys.argv[1:]
with open(program, "rb") as exe:
    check(program, exe.read())
with zipfile.ZipFile(portable) as archive:
    assert sorted(archive.namelist()) == ["LEIA-ME.txt", "LICENSE.txt", "orvanta.exe"], archive.namelist()
    licence = archive.read("LICENSE.txt")
    assert b"GNU GENERAL PUBLIC LICENSE" in licence and licence.count(b"\n") == licence.count(b"\r\n")
    check(portable, archive.read("orvanta.exe"))
print("windows_resources: icon, version and manifest as expected")
