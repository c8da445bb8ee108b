#pragma once

#include <QPoint>
#include <QString>
#include <QVector>

// The undo history of a grid's cells: the user's changes as steps that can be taken back and
// made again. A step is what one action of the user changed: the typing in one cell, a pick, a
// paste or an import of many cells.
class TGridHistory
{
public:
    struct TChange {
        int col = 0;
        int row = 0;
        QString before;
        QString after;
    };
    using TStep = QVector<TChange>;

    // Steps kept; older ones are forgotten.
    static constexpr int kStepLimit = 100;

    // A cell changed. Between BeginStep and EndStep (which nest) every change joins one step;
    // outside, typed changes of one cell join while the user stays in it (EndTyping), and any
    // other change is a step of its own. A new change forgets what was undone.
    void Record(int col, int row, const QString &before, const QString &after, bool typed);
    void BeginStep();
    void EndStep();
    void EndTyping() { typingOpen_ = false; }

    // The step to take back (apply its before texts, last change first) or to make again
    // (its after texts, first change first); nullptr when there is none. Steps that changed
    // nothing in the end (a text typed and erased again) are passed over.
    const TStep *Undo();
    const TStep *Redo();
    int UndoCount() const { return int(done_.size()); }
    int RedoCount() const { return int(undone_.size()); }

    // The cells were changed in a way that cannot be taken back (a file loaded, the register
    // read): the history starts anew. note says so the first time Undo finds nothing.
    void Restart(const QString &note);
    // The note of the last restart, once; empty afterwards.
    QString TakeNote();

private:
    static bool ChangesNothing(const TStep &step);
    void Trim();

    QVector<TStep> done_;
    QVector<TStep> undone_;
    int depth_ = 0;
    bool stepOpen_ = false;
    bool typingOpen_ = false;
    QPoint typingCell_;
    QString note_;
};
