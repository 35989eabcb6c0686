#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Sets the time stamp in a PE file's header, in place: makensis runs it
(!packhdr) on the installer's header, which otherwise carries the time its
stub was built. Usage: pe_time_stamp.py FILE SECONDS_SINCE_1970"""
import sys

import pefile

pe = pefile.PE(sys.argv[1])
pe.FILE_HEADER.TimeDateStamp = int(sys.argv[2])
data = pe.write()
pe.close()
with open(sys.argv[1], "wb") as header:
    header.write(data)
