#pragma once
// Recording fakes of the desktop services: they keep what was shown and
// answer questions as scripted.

#include "mylib/filedialogs.h"
#include "mylib/platform.h"
#include "support/printers.h"

#include <QStringList>
#include <deque>

struct FakeDialogs : TDialogs {
    QStringList messages;     // plain message boxes
    QStringList errors;       // error boxes
    QStringList infos;        // InfoDialog headlines
    QStringList questions;    // VerifyDialog questions
    std::deque<bool> answers; // scripted answers; No when none is left
    void ShowMessage(const QString& text) override { messages << text; }
    void ShowError(const QString& text) override { errors << text; }
    void InfoDialog(const QString& headline, const QString&, const InfoDialogOptions&) override {
        infos << headline;
    }
    QStringList defaultNo; // the questions asked with No as the default
    bool VerifyDialogDefaultNo(const QString& question, const QString& detail) override {
        defaultNo << question;
        return VerifyDialog(question, detail, {.relativeToOwner = true, .allowCancel = true});
    }
    bool VerifyDialog(const QString& question, const QString&, const VerifyOptions&) override {
        questions << question;
        if (answers.empty()) {
            return false;
        }
        const bool a = answers.front();
        answers.pop_front();
        return a;
    }
};

// Answers file choices as scripted; an empty answer is a cancel.
struct FakeFileDialogs : TFileDialogs {
    QString saveAnswer, openAnswer;
    QStringList asked; // captions
    QString SaveFileName(const QString& caption, const QString&, const QString&) override {
        asked << caption;
        return saveAnswer;
    }
    QString OpenFileName(const QString& caption, const QString&, const QString&) override {
        asked << caption;
        return openAnswer;
    }
};

struct FakeShell : TShell {
    QStringList urls, folders;
    void OpenUrl(const QString& url) override { urls << url; }
    void ShowFolder(const QString& folder) override { folders << folder; }
};

struct FixedClock : TClock {
    QDate today{2026, 12, 8};
    QDate Today() const override { return today; }
};

struct FakeScreen : TScreen {
    QRect area{0, 0, 1920, 1080};
    double ratio = 1.0;
    QRect Geometry() const override { return area; }
    double DevicePixelRatio() const override { return ratio; }
};
