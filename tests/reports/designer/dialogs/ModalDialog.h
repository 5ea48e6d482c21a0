// Drives a modal dialog of the designer from a test: acts on it once it is shown.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace test {

// When the next modal dialog is shown: `act` on it when it is a D; otherwise a failure, and
// the dialog is closed so the test does not hang.
template <typename D>
void whenShown(std::function<void(D&)> act)
{
    QTimer::singleShot(0, [act] {
        QWidget* shown = QApplication::activeModalWidget();
        auto* dialog = dynamic_cast<D*>(shown);
        if (!dialog) {
            ADD_FAILURE() << "another dialog is shown";
            if (auto* other = qobject_cast<QDialog*>(shown)) other->reject();
            return;
        }
        act(*dialog);
    });
}

} // namespace test
