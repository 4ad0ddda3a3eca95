#pragma once
// The date picker's widget: a QDateEdit that also reads a whole date typed or
// pasted into it. QDateEdit edits one section at a time, so "12/15/2024"
// typed with the month section focused, or "1/14/2025" typed over a selected
// date, ends as some other date. Here the keys typed since the field took the
// focus (or since everything was selected) are read as one date in the
// field's locale whenever they make a whole one (a four-digit year), and a
// pasted text likewise; otherwise QDateEdit's own editing stands.

#include <QDateEdit>

class TDateField : public QDateEdit {
public:
    explicit TDateField(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    // Shows `text` as the date when it is a whole date; true when it was.
    bool UseWhole(const QString& text);
    QString typed_;
};

// A date a user would rarely mean: before 1900, or more than a year after
// `today`. The view asks before such a typed date is used.
bool UnusualDate(QDate date, QDate today);
