// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTreeWidget>
#include <QUdpSocket>

#include "app/ui/AlertNotice.h"
#include "app/ui/UnitMain.h"
#include "history/ui/HistoryPanel.h"
#include "nmea/ui/BoatNetwork.h"
#include "position/ui/BoatPosition.h"
#include "support/MainWindow.h"
#include "support/SignalKServer.h"
#include "support/TempFolder.h"
#include "support/WindowTest.h"
#include "ui_UnitMain.h"

namespace {

// "$" body "*" checksum, as an instrument sends it.
QByteArray Sentence(const QByteArray& body) {
    unsigned sum = 0;
    for (char c : body) sum ^= static_cast<unsigned char>(c);
    return "$" + body + "*" + QByteArray::number(sum, 16).rightJustified(2, '0').toUpper() + "\r\n";
}

// What a GPS sends before it has a fix, and a wrong checksum: no position in any of them.
const QByteArray NoFix = Sentence("GPRMC,120000,V,5404.100,N,01012.300,E,,,091226,,,N") +
                         Sentence("GPGGA,120000,5404.100,N,01012.300,E,0,00,,,M,,M,,") +
                         "$GPRMC,120000,A,5404.100,N,01012.300,E,5.0,90.0,091226,,,A*00\r\n";
const QByteArray Fix = Sentence("GPRMC,120000,A,5404.100,N,01012.300,E,5.0,90.0,091226,,,A") +
                       Sentence("GPGGA,120000,5404.100,N,01012.300,E,1,08,0.9,3.0,M,,M,,");

quint16 FreeUdpPort() {
    QUdpSocket probe;
    probe.bind(QHostAddress::LocalHost, 0);
    return probe.localPort();
}

quint16 FreeTcpPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

nmea::TNmeaSettings Source(const std::string& kind, const std::string& address) {
    nmea::TNmeaSettings s;
    s.positionSource = kind;
    s.positionAddress = address;
    return s;
}

bool At(const TBoatPosition& p, double latitude, double longitude) {
    const auto now = p.Current();
    return now && std::abs(now->latitude - latitude) < 1e-5 && std::abs(now->longitude - longitude) < 1e-5;
}

class BoatPositionTest : public testing_support::WindowTest {};

}  // namespace

TEST_F(BoatPositionTest, FromGpsdOnlyAValidFix) {
    const QString gpsd = QStandardPaths::findExecutable("gpsd", {"/usr/sbin", "/usr/bin"});
    if (gpsd.isEmpty()) GTEST_SKIP() << "gpsd is not installed here (Debian's package)";
    const quint16 input = FreeUdpPort(), port = FreeTcpPort();
    QProcess daemon;
    daemon.start(gpsd,
                 {"-N", "-n", "-S", QString::number(port), QStringLiteral("udp://127.0.0.1:%1").arg(input)});
    ASSERT_TRUE(daemon.waitForStarted(5000));
    QTest::qWait(500);

    TBoatPosition position;
    position.Apply(Source("gpsd", "127.0.0.1:" + std::to_string(port)));
    QUdpSocket gps;
    // gpsd reports these as TPV mode 1: no position.
    for (int i = 0; i < 4; ++i) {
        gps.writeDatagram(NoFix, QHostAddress::LocalHost, input);
        QTest::qWait(250);
    }
    EXPECT_FALSE(position.Current());
    EXPECT_TRUE(position.StateText().startsWith("Connecté à 127.0.0.1:"))
        << position.StateText().toStdString();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            gps.writeDatagram(Fix, QHostAddress::LocalHost, input);
            return At(position, 54.068333, 10.205);
        },
        10000));
    EXPECT_TRUE(position.StatusText().startsWith("Position : 54°04.1′N 010°12.3′E · gpsd · il y a "))
        << position.StatusText().toStdString();
    daemon.kill();
    daemon.waitForFinished(3000);
}

TEST_F(BoatPositionTest, FromASignalKServerOnlyWhatIsNew) {
    // The server of the network test, reading NMEA 0183 from a UDP port of its own.
    if (const QString why = testing_support::SignalKServer::MissingReason(); !why.isEmpty())
        GTEST_SKIP() << why.toStdString();
    const quint16 input = FreeUdpPort();
    testing_support::SignalKServer server;
    server.Start(temp, input, false);

    TBoatPosition position;
    position.Apply(Source("signalk", server.Address()));
    QUdpSocket gps;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            gps.writeDatagram(Fix, QHostAddress::LocalHost, input);
            return At(position, 54.068333, 10.205);
        },
        60000))
        << position.StateText().toStdString();
    EXPECT_EQ(position.SourceText(), "Signal K");
    // The server keeps its last value: asked again without a new fix, it is no newer.
    QTest::qWait(4500);
    EXPECT_GE(position.AgeSeconds(), 3) << position.StatusText().toStdString();
}

TEST_F(BoatPositionTest, FromASignalKServerWithItsSecurityOn) {
    if (const QString why = testing_support::SignalKServer::MissingReason(); !why.isEmpty())
        GTEST_SKIP() << why.toStdString();
    const quint16 input = FreeUdpPort();
    testing_support::SignalKServer server;
    server.Start(temp, input, true);
    temp.MakeFolder("archive");
    TBoatNetwork network;
    network.Start(temp / "archive", "");
    nmea::TNmeaSettings s = Source("signalk", server.Address());
    network.Apply(s, true);
    QUdpSocket gps;
    const auto fixArrives = [&] {
        return QTest::qWaitFor(
            [&] {
                gps.writeDatagram(Fix, QHostAddress::LocalHost, input);
                return At(network.Position(), 54.068333, 10.205);
            },
            60000);
    };
    // Refused without a token: the state says what to do, and no position comes.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return network.Position().StateText().contains("demande une autorisation"); }, 60000))
        << network.Position().StateText().toStdString();
    network.RequestSignalKAccess(QString::fromStdString(server.Address()));
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return network.SignalKAccess().StateText().contains("en attente"); }, 10000))
        << network.SignalKAccess().StateText().toStdString();
    EXPECT_FALSE(network.Position().Last());
    ASSERT_EQ(server.ApproveAll(), 1);
    EXPECT_TRUE(fixArrives()) << network.Position().StateText().toStdString();
    // The token is kept: the next start reads the server at once.
    const nmea::TNmeaSettings kept = nmea::LoadNmeaSettings(temp / "archive");
    EXPECT_FALSE(kept.signalkToken.empty());
    EXPECT_EQ(kept.signalkClientId, network.Settings().signalkClientId);
    TBoatNetwork restarted;
    restarted.Start(temp / "archive", "");
    EXPECT_TRUE(QTest::qWaitFor([&] { return restarted.Position().Last().has_value(); }, 10000))
        << restarted.Position().StateText().toStdString();
}

TEST_F(BoatPositionTest, NmeaByUdpAndByTcpAndASourceThatComesBack) {
    // A multiplexer's datagrams: several sentences each, the void ones passed over.
    const quint16 udpPort = FreeUdpPort();
    TBoatPosition byUdp;
    byUdp.Apply(Source("udp", std::to_string(udpPort)));
    QUdpSocket multiplexer;
    multiplexer.writeDatagram(NoFix, QHostAddress::LocalHost, udpPort);
    QTest::qWait(300);
    EXPECT_FALSE(byUdp.Last());
    multiplexer.writeDatagram(Sentence("IIGLL,4916.45,N,12311.12,W,225444,A,A"), QHostAddress::LocalHost,
                              udpPort);
    EXPECT_TRUE(QTest::qWaitFor([&] { return At(byUdp, 49.274166, -123.185333); }, 5000));
    EXPECT_EQ(byUdp.SourceText(), "GPS (NMEA UDP)");

    // A TCP server (a plotter program's output) that stops and starts again: tried again in
    // the background, the window never waiting.
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
    const quint16 port = server.serverPort();
    TBoatPosition byTcp;
    QElapsedTimer applied;
    applied.start();
    byTcp.Apply(Source("tcp", "127.0.0.1:" + std::to_string(port)));
    EXPECT_LT(applied.elapsed(), 100);
    ASSERT_TRUE(server.waitForNewConnection(5000));
    QTcpSocket* client = server.nextPendingConnection();
    client->write(Fix.left(30));  // a sentence in two parts
    client->flush();
    QTest::qWait(100);
    client->write(Fix.mid(30));
    EXPECT_TRUE(QTest::qWaitFor([&] { return At(byTcp, 54.068333, 10.205); }, 5000));
    client->close();
    server.close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return byTcp.StateText().contains("Nouvel essai"); }, 5000))
        << byTcp.StateText().toStdString();
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost, port));
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return server.hasPendingConnections() || server.waitForNewConnection(100); },
                        TBoatPosition::RetryAfterMs + 5000));
}

TEST_F(BoatPositionTest, AUsbGpsOnASerialPort) {
    // A pseudo-terminal pair: the program opens one end as it opens /dev/ttyUSB0, the test
    // writes into the other.
    const QString socat = QStandardPaths::findExecutable("socat");
    if (socat.isEmpty()) GTEST_SKIP() << "socat is not installed here (scripts/install-deps installs it)";
    const QString gpsLink = QString::fromStdString(temp / "gps"),
                  feedLink = QString::fromStdString(temp / "feed");
    QProcess pair;
    pair.start(socat, {"pty,raw,echo=0,link=" + gpsLink, "pty,raw,echo=0,link=" + feedLink});
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return QFileInfo::exists(gpsLink) && QFileInfo::exists(feedLink); }, 5000));
    const std::string device = QFileInfo(gpsLink).symLinkTarget().toStdString();
    QFile feed(feedLink);
    ASSERT_TRUE(feed.open(QIODevice::WriteOnly | QIODevice::Unbuffered));

    TBoatPosition position;
    position.Apply(Source("serial", device));
    EXPECT_TRUE(position.StateText().contains("4800 bauds")) << position.StateText().toStdString();
    // Silence at 4800: the other speed is tried.
    EXPECT_TRUE(QTest::qWaitFor([&] { return position.StateText().contains("38400 bauds"); },
                                TBoatPosition::SerialSpeedTrialMs + 2000));
    feed.write(NoFix);
    EXPECT_TRUE(QTest::qWaitFor([&] { return position.StateText().contains("phrases NMEA reçues"); }, 3000))
        << position.StateText().toStdString();
    EXPECT_FALSE(position.Last());
    feed.write(Fix);
    EXPECT_TRUE(QTest::qWaitFor([&] { return At(position, 54.068333, 10.205); }, 3000));
    EXPECT_TRUE(position.StatusText().contains("GPS (port série)")) << position.StatusText().toStdString();

    // One reader at a time: a second would take half of each sentence.
    TBoatPosition second;
    second.Apply(Source("serial", device + "@4800"));
    EXPECT_TRUE(second.StateText().contains("occupé")) << second.StateText().toStdString();

    // Unplugged: seen, and tried again in the background.
    feed.close();
    pair.kill();
    pair.waitForFinished(3000);
    EXPECT_TRUE(QTest::qWaitFor([&] { return position.StateText().contains("Nouvel essai"); }, 3000))
        << position.StateText().toStdString();
}

TEST_F(BoatPositionTest, TheStatusBarAndTheDistanceInTheHeader) {
    for (const char* f : {"data", "data/ZEL2", "data/ZEL2/INTERNAT", "data/ZEL2/NATIONAL"})
        temp.MakeFolder(f);
    // archive/2019/04/14/EA83's buoy, seen from a boat moored at Cherbourg.
    temp.WriteFile("data/ZEL2/INTERNAT/EA83",
                   "ZCZC EA83\r\nWZ 370\r\nZC1 BUOY 50-45.0N 001-27.2E UNLIT\r\nNNNN\r\n");
    temp.WriteFile("data/ZEL2/INTERNAT/EE01", "ZCZC EE01\r\nWIND SW 5\r\nNNNN\r\n");
    temp.WriteFile("data/ZEL2/INTERNAT/EA85",
                   "ZCZC EA85\r\nWZ 372\r\nLIGHT 50-34.0N 001-17.9W UNLIT\r\nNNNN\r\n");
    temp.WriteFile("data/ZEL2/INTERNAT/EA84",
                   "ZCZC EA84\r\nWZ 371\r\nWRECK IN 49-41.0N 001-36.0W MARKED\r\nNNNN\r\n");
    temp.WriteFile("data/ZEL2/NMEA.INI", "position-source=fixed\r\nposition-fixed=49.65,-1.62\r\n");
    TMainForm form({});
    testing_support::ShowMainWindow(form, {.exposed = true, .historyRecorded = true});
    auto* indicator = form.findChild<QLabel*>("PositionIndicator");
    ASSERT_NE(indicator, nullptr);
    EXPECT_TRUE(indicator->isVisible());
    EXPECT_EQ(indicator->text(), "Position : 49°39.0′N 001°37.2′W · position fixe");
    // A new navigational warning within 50 nm (2.1 nm by haversine): one notice, for it alone
    // (EA83 lies 135 nm off).
    const QStringList keys = form.Alerts()->Keys();
    ASSERT_TRUE(form.Alerts()->isVisible());
    ASSERT_EQ(keys.size(), 1) << keys.join(',').toStdString();
    EXPECT_TRUE(keys[0].startsWith("518 EA84 "));
    EXPECT_EQ(form.Alerts()->List()->topLevelItem(0)->text(2), "WRECK IN 49-41.0N 001-36.0W MARKED");
    form.Alerts()->hide();
    form.RebuildTree();
    EXPECT_FALSE(form.Alerts()->isVisible()) << "told once";

    // The search: what concerns the boat only.
    auto* nearOnly = form.findChild<QCheckBox*>("HistoryNear");
    EXPECT_EQ(nearOnly->text(), "À moins de 50 nm du bateau");
    QTest::keyClicks(form.History()->SearchField(), "WZ");
    QTest::qWait(300);  // past the pause after which a search starts
    const auto found = [&](const char* name) {
        return form.History()->Results()->findItems(name, Qt::MatchStartsWith | Qt::MatchRecursive).size();
    };
    EXPECT_EQ(found("EA83"), 1);
    EXPECT_EQ(found("EA84"), 1);
    nearOnly->setChecked(true);
    EXPECT_EQ(found("EA83"), 0);
    EXPECT_EQ(found("EA84"), 1);
    QTreeWidget* tree = form.Ui()->NavtexTreeView;
    EXPECT_TRUE(tree->findItems("EA84", Qt::MatchExactly | Qt::MatchRecursive)
                    .value(0)
                    ->toolTip(0)
                    .endsWith("\nà 2,1 nm au 021°"))
        << tree->findItems("EA84", Qt::MatchExactly | Qt::MatchRecursive).value(0)->toolTip(0).toStdString();
    tree->setCurrentItem(tree->findItems("EA83", Qt::MatchExactly | Qt::MatchRecursive).value(0));
    // 50°45.0′N 001°27.2′E from 49°39.0′N 001°37.2′W: 135.3 nm by haversine, bearing 060°.
    // The station by the buoy's waters: E is Niton here.
    EXPECT_TRUE(form.MessageHeader()->text().startsWith("518 kHz · Niton (GB) · "))
        << form.MessageHeader()->text().toStdString();
    EXPECT_TRUE(form.MessageHeader()->text().endsWith(" · à 135,3 nm au 060°"))
        << form.MessageHeader()->text().toStdString();
    tree->setCurrentItem(tree->findItems("EE01", Qt::MatchExactly | Qt::MatchRecursive).value(0));
    EXPECT_FALSE(form.MessageHeader()->text().contains(" nm au ")) << "no places, no distance";
    // The search's station filter names what the archive has shown of each letter.
    auto* stations = form.findChild<QComboBox*>("HistoryStation");
    EXPECT_EQ(stations->itemText(stations->findData("E")), "E · Niton (GB)");
    EXPECT_EQ(stations->itemText(stations->findData("F")), "Station F");
}
