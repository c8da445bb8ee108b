#include "goodsitemactions.h"

#include "dialogs.h"
#include "framesetz48.h"
#include "gridsheet.h"
#include "progsettings.h"
#include "rundriver.h"
#include "serialline.h"
#include "stringgrid.h"
#include "tablelayout.h"
#include "tableruns.h"
#include "waitcursor.h"
#include "workhost.h"

void ClearGoodsBase(TFrameSetZ48 &frame, TWorkHost *host)
{
    if (!host)
        return;
    if (TDialogs::Instance().AskYesNo(
            &frame, QStringLiteral("Внимание!\r\nВы действительно хотите очистить базу в ККТ!"),
            TDialogs::Answer::No) != TDialogs::Answer::Yes)
        return;
    // The register may take its 30 s: the window repaints meanwhile, and Esc or "Стоп" gives
    // up the wait, which then ends as an unanswered clearing.
    TRunDriver driver(frame, {nullptr, frame.RunStop(), nullptr, &frame}, host);
    quint8 result = 0;
    {
        const TWaitCursor wait;
        const TSerialLine::TScopedWaitHook pump([&driver] { return driver.Wait(); });
        result = ClearGoods(host->Settings(), frame.ClearGoodsTimeOutMs);
    }
    if (!driver.Alive())
        return;
    // Whether or not the register answered, its goods base may now be empty.
    frame.Mirror.ForgetTab(frame.CurrentRegister(), TTableTab::Goods);
    frame.UpdateChangeMarks();
    // What the marks said before is gone: undoing across the clearing would not bring it back.
    frame.Grid(TTableTab::Goods)->NewHistory(kHistoryAfterClear);
    if (result != 0)
        driver.Finish(QStringLiteral("Внимание!\r\nОшибка очистки базы - ") +
                      QString::number(result) + QLatin1Char('!'));
    else
        driver.Finish(QString(), QStringLiteral("База успешно очищена!"));
}
