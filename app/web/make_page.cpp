// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the site's page and style sheet from the window's layout, on the
// build machine:
//   make_page site FOLDER BASE.css    index.html and orvanta.css in FOLDER
//   make_page test PAGE.html SCRIPT   a test page that runs SCRIPT, with the
//                                     message box but no form: the tests
//                                     make theirs
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>

#include "window/layout.h"
#include "window/web/markup.h"

namespace {

// No script or style in the markup itself: the policy allows only the
// site's own files ('wasm-unsafe-eval' for the module).
constexpr const char* Policy =
    "default-src 'self'; script-src 'self' 'wasm-unsafe-eval'; style-src 'self'; img-src 'self'; "
    "connect-src 'self'; manifest-src 'self'; worker-src 'self'; object-src 'none'; base-uri 'none'; "
    "form-action 'none'";

std::string Page(std::string_view head, std::string_view body)
{
    return "<!DOCTYPE html>\n<html lang=\"pt-BR\">\n<head>\n<meta charset=\"utf-8\">\n"
           "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
           "<meta http-equiv=\"Content-Security-Policy\" content=\"" +
           std::string(Policy) + "\">\n<title>" + WindowTitle + "</title>\n" + std::string(head) + "</head>\n<body>" +
           std::string(body) + "</body>\n</html>\n";
}

bool Write(const std::string& path, const std::string& text)
{
    std::ofstream file(path, std::ios::binary);
    file << text;
    return static_cast<bool>(file.close(), file);
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string_view mode = argc == 4 ? argv[1] : "";
    if (mode == "site") {
        std::ifstream base(argv[3], std::ios::binary);
        std::stringstream css;
        css << base.rdbuf();
        const std::string folder = argv[2];
        // The program's script, its module within, runs once the page has
        // been read and before the page is first drawn (blocking="render";
        // browsers without it draw the page with the form inert until then):
        // the page is drawn once, with the window as the program starts it.
        const std::string head = "<link rel=\"manifest\" href=\"manifest.webmanifest\">\n"
                                 "<link rel=\"icon\" href=\"icon-192.png\">\n"
                                 "<link rel=\"stylesheet\" href=\"orvanta.css\">\n"
                                 "<script src=\"orvanta.js\" defer blocking=\"render\"></script>\n";
        if (base && Write(folder + "/orvanta.css", css.str() + FormStyle()) &&
            Write(folder + "/index.html", Page(head, FormMarkup() + PageMarkup()))) {
            return 0;
        }
    } else if (mode == "test") {
        const std::string head = "<link rel=\"stylesheet\" href=\"orvanta.css\">\n<script src=\"" +
                                 std::string(argv[3]) + "\" defer></script>\n";
        if (Write(argv[2], Page(head, PageMarkup()))) return 0;
    }
    std::cerr << "usage: make_page site FOLDER BASE.css | make_page test PAGE.html SCRIPT\n";
    return 1;
}
