#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""orvanta.exe's resources as Explorer and Windows read them (an icon of 16,
32, 48 and 256 pixels, the version, the manifest), in the built program and
in the portable zip, which holds it, LICENSE.txt and LEIA-ME.txt only;
LEIA-ME.txt as any Notepad reads it (UTF-8 with a byte-order mark, CRLF).
Usage: windows_resources.py ORVANTA.exe ORVANTA.zip VERSION"""
import re
import sys
import zipfile

import pefile


VERSION = sys.argv[3]


def check(data):
    pe = pefile.PE(data=data)
    first = {}  # resource type: the data of its first resource
    for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        leaf = kind.directory.entries[0].directory.entries[0].data.struct
        first[kind.id] = pe.get_data(leaf.OffsetToData, leaf.Size)
    group = first[pefile.RESOURCE_TYPE["RT_GROUP_ICON"]]
    sizes = {group[6 + 14 * i] or 256 for i in range(group[4])}  # a width of 0 is 256
    assert sizes >= {16, 32, 48, 256}, sizes
    strings = {k: v for info in pe.FileInfo[0] if info.Key == b"StringFileInfo"
               for table in info.StringTable for k, v in table.entries.items()}
    assert strings[b"FileDescription"], strings
    for key, value in dict(ProductName="Orvanta", CompanyName="Vintoral", FileVersion=VERSION,
                           ProductVersion=VERSION, OriginalFilename="orvanta.exe",
                           LegalCopyright="Copyright (C) Vintoral. Licença GPL-3.0-or-later.").items():
        assert strings.get(key.encode()) == value.encode(), (key, strings.get(key.encode()))
    manifest = re.sub(r"\s+", " ", first[pefile.RESOURCE_TYPE["RT_MANIFEST"]].decode())
    for pattern in [r'name="Microsoft\.Windows\.Common-Controls" version="6\.0\.0\.0"', r">PerMonitorV2</dpiAwareness>",
                    r'<supportedOS Id="\{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a\}"', r'level="asInvoker"']:
        assert re.search(pattern, manifest), pattern


with open(sys.argv[1], "rb") as program:
    check(program.read())
with zipfile.ZipFile(sys.argv[2]) as portable:
    assert sorted(portable.namelist()) == ["LEIA-ME.txt", "LICENSE.txt", "orvanta.exe"], portable.namelist()
    check(portable.read("orvanta.exe"))
    readme = portable.read("LEIA-ME.txt")
    assert readme.startswith(b"\xef\xbb\xbf") and readme.count(b"\n") == readme.count(b"\r\n"), readme[:80]
    assert f"Orvanta {VERSION} para Windows" in readme.decode("utf-8-sig")
print("windows_resources: icon, version, manifest and LEIA-ME.txt as expected")
