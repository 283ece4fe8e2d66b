// SPDX-License-Identifier: MIT
// Shared set-up of the main window tests: a temporary data directory, the
// working directory put back after each test (opening a file moves it), and
// dialogs that answer from a script and record what they were asked.
#pragma once

#include "Unit1.h"

#include <QDir>
#include <QImage>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>

struct ScriptedDialogs {
    QStringList Messages;     // texts of plain message boxes
    QStringList Errors;       // texts of error boxes
    QStringList OpenAnswer;   // what the open dialog returns (empty: cancelled)
    int OpenCalls = 0;
    QString OpenStartDir;
    QString OpenFilter;
    QString SaveAnswer;   // what the save dialog returns (empty: cancelled)
    QString SaveSuggested;
    int OpenSelectedFilter = -1;

    Dialogs Make()
    {
        Dialogs d;
        d.Message = [this](QWidget*, const QString&, const QString& text) { Messages << text; };
        d.Error = [this](QWidget*, const QString& text) { Errors << text; };
        d.ConfirmOkCancel = [](QWidget*, const QString&, const QString&) { return false; };
        d.OpenFiles = [this](QWidget*, const QString& startDir, const QString& filter, int selectedFilter) {
            ++OpenCalls;
            OpenStartDir = startDir;
            OpenFilter = filter;
            OpenSelectedFilter = selectedFilter;
            return OpenAnswer;
        };
        d.SaveFile = [this](QWidget*, const QString&, const QString& suggested, const QString&) {
            SaveSuggested = suggested;
            return SaveAnswer;
        };
        d.PickColor = [](QWidget*, const QColor&) -> std::optional<QColor> { return std::nullopt; };
        return d;
    }
};

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_savedCwd = QDir::currentPath();
        ASSERT_TRUE(m_dir.isValid());
        Dir = m_dir.path().toStdString() + "/";
    }

    void TearDown() override
    {
        Form.reset();
        QDir::setCurrent(m_savedCwd);
    }

    // The window, built with the scripted dialogs and a settings directory
    // of its own.
    TForm1& MakeForm(const std::string& commandLineFile = {})
    {
        Form = std::make_unique<TForm1>(commandLineFile, Script.Make(), nullptr, m_settings.path().toStdString() + "/");
        return *Form;
    }

    // Writes a file under the temporary directory and returns its full path.
    std::string WriteFile(const std::string& relative, const std::string& text) const
    {
        const std::string path = Dir + relative;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    // A two-column file: x = 0..points-1, y = x * slope.
    std::string WriteLine(const std::string& relative, int points = 11, double slope = 1.0) const
    {
        std::string text = "# x y\n";
        for (int i = 0; i < points; ++i)
            text += std::to_string(i) + " " + std::to_string(i * slope) + "\n";
        return WriteFile(relative, text);
    }

    void TypeName(const QString& name);

    ScriptedDialogs Script;
    std::unique_ptr<TForm1> Form;
    std::string Dir;   // ends in '/'

private:
    QTemporaryDir m_dir;
    QTemporaryDir m_settings;
    QString m_savedCwd;
};

// Sets the file-name box and presses Enter in it.
void TypeInto(QWidget* edit, const QString& text);

// Pixels that differ between two pictures of one size.
int DifferentPixels(const QImage& a, const QImage& b);

// Rejects the next modal dialog as soon as it is up (our own dialogs only:
// a real file dialog must never be driven this way).
void RejectNextModal();
