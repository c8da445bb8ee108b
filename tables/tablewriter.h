#pragma once

#include "tablerun.h"

// "Записать в ККТ": writes the records of the open tab's range to the register, one exchange
// per goods item or table field, each record's cells read just before its own exchange. The
// first failed exchange is reported and ends the run.
class TTableWriter : public TTableRun
{
public:
    using TTableRun::TTableRun;

protected:
    TRunDirection Direction() const override { return TRunDirection::Write; }
    void RunRecords(TTableTab tab, int first, int last) override;

private:
    quint8 WriteGoodsItem(int item);
    quint8 WriteField(TTableTab tab, int record, int fieldIndex, const QString &text);
};
