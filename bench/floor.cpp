// SPDX-License-Identifier: GPL-3.0-or-later
// The start-up floor for Orvanta on Linux: a bare Qt Widgets window of the
// same size with the same 24 controls at the same places, and nothing else
// (no fonts, list items, icon, tab order, key filter or printing).

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "floor_controls.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Cálculo de Lentes"));
    window.setFixedSize(FloorWidth, FloorHeight);

    for (const FloorControl& control : FloorControls) {
        const QString caption = QString::fromUtf8(control.caption);
        QWidget* widget = nullptr;
        switch (control.kind) {
        case 'L': widget = new QLabel(caption, &window); break;
        case 'T': widget = new QLineEdit(&window); break;
        case 'C': widget = new QComboBox(&window); break;
        default: widget = new QPushButton(caption, &window); break;
        }
        widget->setGeometry(control.left, control.top, control.width, control.height);
    }
    window.show();
    return app.exec();
}
