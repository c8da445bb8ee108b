#pragma once

#include "config.h"
#include "tablecells.h"

// The configuration record as cells of the tables' grids: the one binding of each record field
// to its grid column. The record fields of a row are its grid's columns 1 to BoundColumns(tab);
// a cell the record does not keep (the groups' tax system) reads as the grid's default text
// and is not stored. Copying between grids and record, and the runs of other programs, go
// through here.
class TConfigCells : public TTableCells
{
public:
    // Over a record to fill, or over one only read (SetCell then changes nothing).
    explicit TConfigCells(TConfig_Z48 &tables) : tables_(&tables), writable_(&tables) {}
    explicit TConfigCells(const TConfig_Z48 &tables) : tables_(&tables) {}

    QString Cell(TTableTab tab, int col, int row) const override;
    void SetCell(TTableTab tab, int col, int row, const QString &text) override;

    // The grid columns, from 1, that the record keeps of each row.
    static int BoundColumns(TTableTab tab);

private:
    const TConfig_Z48 *tables_;
    TConfig_Z48 *writable_ = nullptr;
};
