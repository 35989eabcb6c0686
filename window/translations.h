// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Installs Qt's own Brazilian Portuguese texts (the text boxes' context
// menu, the message box's buttons) whatever the user's language, so that the
// toolkit speaks as the rest of the window does. Numbers still follow the
// user's regional settings. False when Qt's translations are not installed:
// the toolkit's texts then stay English. Needs the application object.
bool LoadToolkitTranslations();
