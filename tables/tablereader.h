#pragma once

#include "tablerun.h"

// "Прочитать из ККТ": reads the records of the open tab's range from the register and fills
// the cells of each record or field as its answer arrives. The first failed exchange is
// reported and ends the run; its cells keep what they held.
class TTableReader : public TTableRun
{
public:
    using TTableRun::TTableRun;

protected:
    TRunDirection Direction() const override { return TRunDirection::Read; }
    void RunRecords(TTableTab tab, int first, int last) override;

private:
    // The result of the exchange; lastGoodsFilled_ tells whether the answer filled a row.
    quint8 ReadGoodsItem(int item);
    quint8 ReadField(TTableTab tab, int record, int fieldIndex);

    // The field read's in/out values; they carry the previous answer into the next request.
    quint8 attribute_ = 0;
    QString text_;
    bool lastGoodsFilled_ = false;
};
