// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

namespace vorrel {

class WindowSet;

// Form2, "MULTIBAND": a fixed sample of three Vorrel antennas for 440, 220 and 144 MHz on one mast,
// as a text table beside diagram 2, with the ways back to the designer, out of the program and on
// to the web page link. It computes nothing.
class MultibandWindow : public QWidget {
    Q_OBJECT

public:
    explicit MultibandWindow(WindowSet &windows, QWidget *parent = nullptr);

    // The sample table as the table box shows it at first: four lines, each ended by a line break.
    static const QString &sampleTable();
};

} // namespace vorrel
