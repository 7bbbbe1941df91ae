// SPDX-License-Identifier: MIT
#pragma once

namespace vorrel {

// Presents every QLineEdit of the program to assistive technology through TextBoxAccessible, which
// reports the box's text as one run of text attributes. Call it before the first box is made: an
// interface, once created, is kept for the widget's life.
void installTextBoxAccessible();

} // namespace vorrel
