// SPDX-License-Identifier: MIT
#pragma once

#include "designcalculator.h"

#include <QWidget>

#include <array>
#include <optional>

class QLineEdit;
class QMouseEvent;

namespace vorrel {

class WindowSet;

// Form1, the designer: a frameless light-yellow window with the title line, diagram 1, the
// frequency box, the INCHES and CM buttons, the four results with their units, GO and EXIT.
// The design state belongs to the window set and outlives this widget.
class MainWindow : public QWidget {
    Q_OBJECT

public:
    MainWindow(WindowSet &windows, DesignState &state, QWidget *parent = nullptr);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void calculate(UnitMode mode);
    void announce(const DesignResult &result);
    // The results as one sentence, as the rows show them: "The radiator will be 57.329 INCHES
    // long, the driven stud is ...".
    static QString resultSentence(const DesignResult &result);
    void showStoredFrequency();

    WindowSet &windows_;
    DesignState &state_;
    QLineEdit *frequencyBox_ = nullptr;
    std::array<QLineEdit *, 4> valueBoxes_{};
    std::array<QLineEdit *, 4> unitBoxes_{};
    std::optional<QPoint> dragOffset_; // while the window follows the pointer itself
};

} // namespace vorrel
