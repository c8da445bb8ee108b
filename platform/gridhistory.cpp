#include "gridhistory.h"

void TGridHistory::Record(int col, int row, const QString &before, const QString &after, bool typed)
{
    undone_.clear();
    if (depth_ > 0) {
        if (!stepOpen_) {
            done_.append(TStep());
            stepOpen_ = true;
        }
        done_.last().append({col, row, before, after});
        return;
    }
    const QPoint cell(col, row);
    if (typed && typingOpen_ && typingCell_ == cell && !done_.isEmpty()) {
        // The first change of the typing holds the text the cell had before it.
        done_.last().last().after = after;
        return;
    }
    done_.append(TStep{{col, row, before, after}});
    typingOpen_ = typed;
    typingCell_ = cell;
    Trim();
}

void TGridHistory::BeginStep()
{
    if (depth_++ == 0) {
        stepOpen_ = false;
        typingOpen_ = false;
    }
}

void TGridHistory::EndStep()
{
    if (depth_ <= 0 || --depth_ > 0)
        return;
    stepOpen_ = false;
    Trim();
}

bool TGridHistory::ChangesNothing(const TStep &step)
{
    for (const TChange &change : step)
        if (change.before != change.after)
            return false;
    return true;
}

const TGridHistory::TStep *TGridHistory::Undo()
{
    typingOpen_ = false;
    while (!done_.isEmpty()) {
        const TStep step = done_.takeLast();
        if (ChangesNothing(step))
            continue;
        undone_.append(step);
        return &undone_.last();
    }
    return nullptr;
}

const TGridHistory::TStep *TGridHistory::Redo()
{
    typingOpen_ = false;
    if (undone_.isEmpty())
        return nullptr;
    done_.append(undone_.takeLast());
    return &done_.last();
}

void TGridHistory::Restart(const QString &note)
{
    done_.clear();
    undone_.clear();
    stepOpen_ = false;
    typingOpen_ = false;
    note_ = note;
}

QString TGridHistory::TakeNote()
{
    QString note;
    note.swap(note_);
    return note;
}

void TGridHistory::Trim()
{
    if (done_.size() > kStepLimit)
        done_.remove(0, done_.size() - kStepLimit);
}
