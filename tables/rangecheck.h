#pragma once

#include <QString>

// The range check of the tables frame's "с" / "по" edits, without the widgets: which message to
// show and which edit gets the focus.
struct TRangeCheck {
    enum class Focus { None, From, To };
    bool ok = false;
    QString message; // empty: no message
    Focus focus = Focus::None;
    int first = 0; // the range, when ok
    int last = 0;
};

TRangeCheck CheckRangeTexts(const QString &fromText, const QString &toText, int maximum);

// The item number of "Перейти к товару": ok with the row, or the message to show (the focus
// goes back to the edit).
struct TItemNumberCheck {
    bool ok = false;
    QString message;
    int item = 0;
};

TItemNumberCheck CheckItemNumberText(const QString &text, int maximum);
