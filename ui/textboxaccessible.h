// SPDX-License-Identifier: MIT
#pragma once

class QAccessibleInterface;
class QObject;
class QString;

namespace vorrel {

// The accessibility factory (QAccessible::installFactory) that presents every QLineEdit of the
// program to assistive technology through an interface reporting the box's text as one run of
// text attributes; nullptr for any other object. The window set installs it.
QAccessibleInterface *textBoxAccessible(const QString &className, QObject *object);

} // namespace vorrel
