// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The window as the page's own HTML controls, made from window/layout.h:
// the markup of the form and its style rules. The site's page is written
// from these at build time (app/web/make_page.cpp), so that it shows before
// the program has loaded; the browser toolkit inserts the same markup where
// a page has no form of its own yet. Standard C++ only: the build machine's
// compiler runs it too.

#include <string>

// The form: every control with its layout-table name as id, in tab order,
// which is the order in which the browser's Tab and screen readers' lines
// meet them. The form stays inert until the program takes it over.
std::string FormMarkup();

// The rest of the page: the line shown once the program has ended, the
// message box, and the page that "Imprimir" prints.
std::string PageMarkup();

// The form's style rules: on a screen that holds the window, each control
// at its place and size (one CSS pixel per pixel at 96 dpi) in its font;
// on a narrower one a single column in the narrow order below.
std::string FormStyle();
