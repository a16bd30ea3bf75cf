#pragma once

#include "show/formslideshow.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace curvana {

// A slide window with its documents in a private folder; errors it reports are collected
// instead of shown in a box.
class TSlideWindowTest : public ::testing::Test {
protected:
    TSlideWindowTest() {
        Window.SetErrorReporter(
            [this](QWidget*, const QString& message) { Errors.push_back(message.toStdString()); });
    }

    // Writes a file into the folder and returns its path.
    std::string Write(const std::string& name, const std::string& text) {
        const QString path = Folder.filePath(QString::fromStdString(name));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.data(), static_cast<qint64>(text.size()));
        return path.toStdString();
    }

    // Lets the armed load run; false when it did not within a few seconds.
    bool Settle() {
        const QDeadlineTimer deadline(5000);
        while (Window.Timer1->isActive() && !deadline.hasExpired())
            QTest::qWait(5);
        QCoreApplication::processEvents();
        return !Window.Timer1->isActive();
    }

    QTemporaryDir Folder;
    std::vector<std::string> Errors;
    TFormSlideShow Window;
};

} // namespace curvana
