#pragma once

// The tables frame under test against the emulated register on a pseudo-terminal, with a host
// that records the menu lock and can be told that the main window is closing.
#include "dialogrecorder.h"
#include "emulatorpty.h"
#include "fakeworkhost.h"
#include "framesetz48.h"
#include "progsettings.h"
#include "registerfixture.h"
#include "rundriver.h"
#include "stringgrid.h"
#include "workhost.h"
#include "z48controls.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>

#include <functional>

using TFakeHost = TFakeWorkHost;

class TFrameUnderTest
{
public:
    TFrameUnderTest() : frame(&host)
    {
        TRunDriver::SetPaintInterval(0); // the tests follow every exchange
        host.settings.NumKKT = 0;
        host.settings.Port.Name = pty.PortName();
        host.settings.Port.Speed = 115200;
        host.settings.Port.TimeOut = 1000;
        frame.InitGrids();
        frame.resize(900, 600);
        frame.show();
        QObject::connect(ui.ProgressBar1, &QProgressBar::valueChanged, [this](int value) {
            positions.append(value);
            // What the user could do while the run is under way.
            buttonsEnabledDuringRun |=
                ui.Button3->isEnabled() || ui.Button1->isEnabled() || ui.Button5->isEnabled();
            tabsEnabledDuringRun |= ui.PageControl1->tabBar()->isEnabled();
            menuUnlockedDuringRun |= !host.runLocked;
            if (onProgress)
                onProgress(value);
        });
    }

    bool Ready() const { return pty.IsOpen(); }

    void OpenTab(int tab) { ui.PageControl1->setCurrentIndex(tab); }
    void SetRange(int tab, const QString &from, const QString &to)
    {
        frame.Range(TTableTab(tab)).from->setText(from);
        frame.Range(TTableTab(tab)).to->setText(to);
    }
    void Write(int tab, const QString &from, const QString &to)
    {
        OpenTab(tab);
        SetRange(tab, from, to);
        Start(ui.Button3);
    }
    void Read(int tab, const QString &from, const QString &to)
    {
        OpenTab(tab);
        SetRange(tab, from, to);
        Start(ui.Button4);
    }
    void Start(QPushButton *button)
    {
        positions.clear();
        pty.Engine().ClearReceivedRequests();
        QTest::mouseClick(button, Qt::LeftButton);
    }

    void Click(QPushButton *button) { QTest::mouseClick(button, Qt::LeftButton); }

    QList<TRequest> Requests() { return ParsedRequests(pty.Engine()); }

    // Everything a run locks is unlocked again.
    bool Unlocked() const
    {
        for (QPushButton *button : frame.findChildren<QPushButton *>())
            if (!button->isEnabled())
                return false;
        return ui.PageControl1->tabBar()->isEnabled() && !host.runLocked;
    }

    TEmulatorEngine &Engine() { return pty.Engine(); }
    TStringGrid &Grid(int tab) { return *frame.Grid(TTableTab(tab)); }

    TEmulatorPty pty;
    TFakeHost host;
    TDialogRecorder dialogs;
    TFrameSetZ48 frame;
    TZ48Controls ui{frame};
    QList<int> positions;
    bool buttonsEnabledDuringRun = false;
    bool tabsEnabledDuringRun = false;
    bool menuUnlockedDuringRun = false;
    std::function<void(int)> onProgress;
};
