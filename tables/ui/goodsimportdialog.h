#pragma once

#include <QDialog>

struct TGoodsImportPlan;
class QPushButton;

// What an import from a CSV file will do, shown before anything changes: how many goods items
// will be set and every line that cannot be used, with its reason. "Импортировать" goes ahead
// (there is nothing to go ahead with when no item is set), "Отмена" keeps every cell.
class TGoodsImportDialog : public QDialog
{
    Q_OBJECT
public:
    TGoodsImportDialog(const TGoodsImportPlan &plan, QWidget *parent = nullptr);

    QPushButton *ButtonImport = nullptr;
    QPushButton *ButtonCancel = nullptr;
};

// True when the user chose "Импортировать".
bool ConfirmGoodsImport(QWidget *parent, const TGoodsImportPlan &plan);
