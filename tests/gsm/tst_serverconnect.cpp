// The server connection test: address and port parsing, the connection attempt against
// listeners on 127.0.0.1 (accepting, refusing, never answering) and the frame's messages.

#include "dialogrecorder.h"
#include "fakeworkhost.h"
#include "framegsmsetting.h"
#include "serverconnect.h"
#include "stringgrid.h"
#include "workhost.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#ifdef _WIN32
// winsock2.h must come before windows.h.
// clang-format off
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
// clang-format on
#else
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <vector>

namespace
{

using TFakeHost = TFakeWorkHost;

#ifdef _WIN32
using TSocket = SOCKET;
constexpr TSocket kNoSocket = INVALID_SOCKET;

int OpenDescriptors()
{
    DWORD count = 0;
    GetProcessHandleCount(GetCurrentProcess(), &count);
    return int(count);
}

TSocket OpenSocket(bool nonBlocking)
{
    const TSocket fd = socket(AF_INET, SOCK_STREAM, 0);
    u_long mode = nonBlocking ? 1 : 0;
    if (fd != kNoSocket)
        ioctlsocket(fd, FIONBIO, &mode);
    return fd;
}

void CloseSocket(TSocket fd)
{
    closesocket(fd);
}

// The listeners' sockets need the socket library started while they live.
struct TSocketLibrary {
    TSocketLibrary()
    {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
    }
    ~TSocketLibrary() { WSACleanup(); }
};
#else
using TSocket = int;
constexpr TSocket kNoSocket = -1;

int OpenDescriptors()
{
    return int(QDir(QStringLiteral("/proc/self/fd"))
                   .entryList(QDir::NoDotAndDotDot | QDir::System | QDir::Files | QDir::Dirs)
                   .size());
}

TSocket OpenSocket(bool nonBlocking)
{
    return socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | (nonBlocking ? SOCK_NONBLOCK : 0), 0);
}

void CloseSocket(TSocket fd)
{
    close(fd);
}

struct TSocketLibrary {
};
#endif

sockaddr_in Loopback(quint16 port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

// A TCP endpoint on 127.0.0.1 in one of three states; closes every socket it opened.
class TLoopbackServer
{
public:
    enum class Kind { Accepting, Closed, Silent };

    explicit TLoopbackServer(Kind kind)
    {
        listener_ = OpenSocket(false);
        sockaddr_in address = Loopback(0);
        if (listener_ == kNoSocket ||
            bind(listener_, reinterpret_cast<sockaddr *>(&address), sizeof(address)) != 0)
            return;
        socklen_t size = sizeof(address);
        getsockname(listener_, reinterpret_cast<sockaddr *>(&address), &size);
        port_ = ntohs(address.sin_port);
        switch (kind) {
        case Kind::Accepting:
            ok_ = listen(listener_, 8) == 0;
            break;
        case Kind::Closed:
            // Nothing listens on the port once the socket that held it is closed.
            CloseSocket(listener_);
            listener_ = kNoSocket;
            ok_ = true;
            break;
        case Kind::Silent:
            ok_ = listen(listener_, 0) == 0 && FillBacklog();
            break;
        }
    }

    ~TLoopbackServer()
    {
        for (TSocket fd : clients_)
            CloseSocket(fd);
        if (listener_ != kNoSocket)
            CloseSocket(listener_);
    }

    bool Ok() const { return ok_; }
    quint16 Port() const { return port_; }

private:
    // A full accept queue makes the kernel drop further connection requests, so a new
    // connection stays pending. Several connects first fill the queue.
    bool FillBacklog()
    {
        const sockaddr_in address = Loopback(port_);
        for (int i = 0; i < 4; ++i) {
            const TSocket fd = OpenSocket(true);
            if (fd == kNoSocket)
                return false;
            clients_.push_back(fd);
            ::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof(address));
        }
        QTest::qWait(50);
        return true;
    }

    TSocketLibrary library_;
    TSocket listener_ = kNoSocket;
    quint16 port_ = 0;
    bool ok_ = false;
    std::vector<TSocket> clients_;
};

const quint32 kLoopback = htonl(INADDR_LOOPBACK);

} // namespace

Q_DECLARE_METATYPE(TConnectOutcome)
Q_DECLARE_METATYPE(TLoopbackServer::Kind)

class TestServerConnect : public QObject
{
    Q_OBJECT

private slots:
    void ParsesOnlyFullDottedAddresses_data();
    void ParsesOnlyFullDottedAddresses();
    void ParsesPortsFrom0To65535_data();
    void ParsesPortsFrom0To65535();
    void ConnectionOutcomeLeavesNothingOpen_data();
    void ConnectionOutcomeLeavesNothingOpen();
    void FrameShowsMessagesInOrder_data();
    void FrameShowsMessagesInOrder();
    void AddressBoxTakesDigitsAndDotsOnly();
    void GetIpButtonOnlyWarns();
};

void TestServerConnect::ParsesOnlyFullDottedAddresses_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<quint32>("hostOrder");

    QTest::newRow("loopback") << "127.0.0.1" << true << 0x7F000001u;
    QTest::newRow("all zero") << "0.0.0.0" << true << 0u;
    QTest::newRow("broadcast") << "255.255.255.255" << true << 0xFFFFFFFFu;
    QTest::newRow("public") << "91.107.67.212" << true << 0x5B6B43D4u;
    QTest::newRow("three parts") << "1.2.3" << false << 0u;
    QTest::newRow("empty") << "" << false << 0u;
    QTest::newRow("five parts") << "1.2.3.4.5" << false << 0u;
    QTest::newRow("part over 255") << "256.1.1.1" << false << 0u;
    QTest::newRow("empty part") << "1..2.3" << false << 0u;
    QTest::newRow("trailing dot") << "1.2.3.4." << false << 0u;
    QTest::newRow("leading zero") << "01.2.3.4" << false << 0u;
    QTest::newRow("one number") << "16909060" << false << 0u;
    QTest::newRow("hex part") << "0x7f.0.0.1" << false << 0u;
    QTest::newRow("blank") << "1.2.3.4 " << false << 0u;
    QTest::newRow("letters") << "a.b.c.d" << false << 0u;
    QTest::newRow("wide digits") << QString::fromUtf8("１.2.3.4") << false << 0u;
}

void TestServerConnect::ParsesOnlyFullDottedAddresses()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(quint32, hostOrder);

    quint32 address = 0xDEADBEEF;
    QCOMPARE(ParseServerAddress(text, address), valid);
    if (valid)
        QCOMPARE(ntohl(address), hostOrder);
    else
        QCOMPARE(address, 0xDEADBEEFu);
}

void TestServerConnect::ParsesPortsFrom0To65535_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("port");

    QTest::newRow("zero") << "0" << true << 0;
    QTest::newRow("usual") << "7777" << true << 7777;
    QTest::newRow("highest") << "65535" << true << 65535;
    QTest::newRow("leading zeros") << "00080" << true << 80;
    QTest::newRow("one over") << "65536" << false << 0;
    QTest::newRow("five nines") << "99999" << false << 0;
    QTest::newRow("six digits") << "100000" << false << 0;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("letter") << "80a" << false << 0;
    QTest::newRow("blank") << " 80" << false << 0;
    QTest::newRow("sign") << "+80" << false << 0;
    QTest::newRow("negative") << "-1" << false << 0;
}

void TestServerConnect::ParsesPortsFrom0To65535()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(int, port);

    quint16 parsed = 4321;
    QCOMPARE(ParseServerPort(text, parsed), valid);
    QCOMPARE(int(parsed), valid ? port : 4321);
}

void TestServerConnect::ConnectionOutcomeLeavesNothingOpen_data()
{
    QTest::addColumn<TLoopbackServer::Kind>("kind");
    QTest::addColumn<TConnectOutcome>("expected");

    QTest::newRow("accepting") << TLoopbackServer::Kind::Accepting << TConnectOutcome::Connected;
    QTest::newRow("refused") << TLoopbackServer::Kind::Closed << TConnectOutcome::Error;
    QTest::newRow("pending") << TLoopbackServer::Kind::Silent << TConnectOutcome::Timeout;
}

void TestServerConnect::ConnectionOutcomeLeavesNothingOpen()
{
    QFETCH(TLoopbackServer::Kind, kind);
    QFETCH(TConnectOutcome, expected);

    TLoopbackServer server(kind);
    QVERIFY(server.Ok());
    const int before = OpenDescriptors();
    // Twice in a row: nothing of the first attempt may stand in the way of the second.
    for (int attempt = 0; attempt < 2; ++attempt) {
        QElapsedTimer clock;
        clock.start();
        const TConnectResult result = TryServerConnection(kLoopback, server.Port());
        QCOMPARE(result.Outcome, expected);
        if (expected == TConnectOutcome::Timeout) {
            QVERIFY(clock.elapsed() >= 90);
            QVERIFY(clock.elapsed() < 5000);
        }
        QCOMPARE(OpenDescriptors(), before);
    }
}

void TestServerConnect::FrameShowsMessagesInOrder_data()
{
    QTest::addColumn<TLoopbackServer::Kind>("kind");
    QTest::addColumn<QString>("port"); // empty: the listener's own port
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("outcome");

    const QString loopback = QStringLiteral("127.0.0.1");
    QTest::newRow("connected") << TLoopbackServer::Kind::Accepting << "" << loopback
                               << "ВНИМАНИЕ!\r\nСоединение с сервером установленно удачно!";
    QTest::newRow("refused") << TLoopbackServer::Kind::Closed << "" << loopback
                             << "ВНИМАНИЕ!\r\nОшибка установки соединения с сервером!";
    QTest::newRow("time-out") << TLoopbackServer::Kind::Silent << "" << loopback
                              << "ВНИМАНИЕ!\r\nПревышен интервал ожидания ответа от сервера!";
    QTest::newRow("three-part address") << TLoopbackServer::Kind::Accepting << ""
                                        << "127.0.1"
                                        << "ВНИМАНИЕ!\r\nНеверно задан IP ОФД сервера!";
    QTest::newRow("empty address") << TLoopbackServer::Kind::Accepting << ""
                                   << ""
                                   << "ВНИМАНИЕ!\r\nНеверно задан IP ОФД сервера!";
    QTest::newRow("empty port") << TLoopbackServer::Kind::Accepting << "-" << loopback
                                << "ВНИМАНИЕ!\r\nНеверно задан порт ОФД сервера!";
    QTest::newRow("port out of range") << TLoopbackServer::Kind::Accepting << "65536" << loopback
                                       << "ВНИМАНИЕ!\r\nНеверно задан порт ОФД сервера!";
    // The port is judged first: with both wrong, only the port is named.
    QTest::newRow("both wrong") << TLoopbackServer::Kind::Accepting << "99999"
                                << "1.2.3"
                                << "ВНИМАНИЕ!\r\nНеверно задан порт ОФД сервера!";
}

void TestServerConnect::FrameShowsMessagesInOrder()
{
    QFETCH(TLoopbackServer::Kind, kind);
    QFETCH(QString, port);
    QFETCH(QString, address);
    QFETCH(QString, outcome);

    TLoopbackServer server(kind);
    QVERIFY(server.Ok());
    TFakeHost host;
    TFrameGsmSetting frame(&host);
    frame.InitFrame();
    // The port comes from the grid row "Порт сервера ОФД".
    const QString portText = port.isEmpty() ? QString::number(server.Port())
                                            : (port == QLatin1String("-") ? QString() : port);
    frame.Grid()->SetCells(1, 3, portText);
    auto *edit = frame.findChild<QLineEdit *>(QStringLiteral("Edit2"));
    QVERIFY(edit);
    edit->setText(address);

    TDialogRecorder dialogs;
    const int before = OpenDescriptors();
    frame.Button2Click();
    QCOMPARE(OpenDescriptors(), before);
    const QList<TDialogRecorder::Shown> expected = {
        {TDialogs::Kind::Information,
         QStringLiteral(
             "ВНИМАНИЕ!\r\nДанная функция доступна лишь для ПК подключенных к Интернету!")},
        {TDialogs::Kind::Information, outcome}};
    QCOMPARE(dialogs.Messages(), expected);
}

void TestServerConnect::AddressBoxTakesDigitsAndDotsOnly()
{
    TFakeHost host;
    TFrameGsmSetting frame(&host);
    frame.InitFrame();
    auto *edit = frame.findChild<QLineEdit *>(QStringLiteral("Edit2"));
    QVERIFY(edit);
    QVERIFY(!edit->isVisibleTo(&frame));
    QTest::keyClicks(edit, QStringLiteral("1a9,2.16 8-.0.x1/"));
    QCOMPARE(edit->text(), QStringLiteral("192.168.0.1"));
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(edit->text(), QStringLiteral("192.168.0."));
    // No length limit.
    QTest::keyClicks(edit, QStringLiteral("1234567890"));
    QCOMPARE(edit->text(), QStringLiteral("192.168.0.1234567890"));
}

void TestServerConnect::GetIpButtonOnlyWarns()
{
    TFakeHost host;
    TFrameGsmSetting frame(&host);
    frame.InitFrame();
    auto *button = frame.findChild<QPushButton *>(QStringLiteral("Button1"));
    QVERIFY(button);
    QCOMPARE(button->text(), QStringLiteral("Получить IP по имени"));
    TDialogRecorder dialogs;
    frame.Button1Click();
    QCOMPARE(dialogs.Texts(),
             QStringList{QStringLiteral(
                 "ВНИМАНИЕ!\r\nДанная функция доступна лишь для ПК подключенных к Интернету!")});
}

QTEST_MAIN(TestServerConnect)
#include "tst_serverconnect.moc"
