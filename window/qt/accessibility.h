// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Makes screen readers name every drop-down list by its accessible name, as
// they name text boxes, and read the selected item as its value; and see a
// top-level widget as a window with its title, whose controls come top to
// bottom and left to right as on the screen.
void DescribeForScreenReaders();
