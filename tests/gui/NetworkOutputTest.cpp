// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QNetworkDatagram>
#include <QPushButton>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QUdpSocket>

#include <fstream>
#include <memory>
#include <sstream>

#include "acquisition/AcquisitionState.h"
#include "app/ui/AlertNotice.h"
#include "app/ui/Application.h"
#include "app/ui/UnitMain.h"
#include "nmea/NmeaSettings.h"
#include "nmea/Sentences.h"
#include "nmea/ui/NmeaOutput.h"
#include "platform/Thread.h"
#include "settings/ui/UnitConfig.h"
#include "sim/DriveMapFile.h"
#include "sim/VolumeWriter.h"
#include "support/WindowTest.h"
#include "ui_UnitConfig.h"
#include "ui_UnitMain.h"

namespace {

// The real window on a simulated receiver, its output on a free port, and a client of it.
class NetworkOutputTest : public testing_support::WindowTest {
protected:
    NetworkOutputTest() : WindowTest("drives.tsv") {
        temp.WriteFile("drives.tsv", "");
        platform::SetMainThread();
    }
    ~NetworkOutputTest() override {
        Forms = TApplicationForms{};
        Acquisition.Detection = {};
        Acquisition.CurrentDrive = receiver::NoDrive;
    }

    void Attach(sim::Weather weather) {
        sim::VolumeOptions options;
        options.weather = weather;
        ASSERT_TRUE(sim::MakeVolume("ZEL2B", temp / "E", options));
        ASSERT_TRUE(sim::AttachDrive(temp / "drives.tsv", 'E', "removable", "ZEL2B", temp / "E"));
    }

    void StartOutput(TMainForm& form, double threshold = baro::DefaultStormThreshold) {
        nmea::TNmeaSettings s;
        s.enabled = true;
        s.tcpPort = 0;  // any free port
        s.stormThreshold = threshold;
        form.Network().Apply(s, false);
        ASSERT_TRUE(form.Network().Output().Listening());
        client.connectToHost("127.0.0.1", form.Network().Output().Port());
        ASSERT_TRUE(client.waitForConnected(5000));
        for (int i = 0; i < 100 && form.Network().Output().Clients() == 0; ++i) QTest::qWait(10);
        ASSERT_EQ(form.Network().Output().Clients(), 1);
    }

    // A refresh as the receiver being plugged in on the next letter gives it.
    void Replug(TMainForm& form) {
        ASSERT_TRUE(sim::MoveDrive(temp / "drives.tsv", letter, static_cast<char>(letter + 1)));
        ++letter;
        form.DataThread()->RunCycle();
        QTest::qWait(50);
    }

    std::vector<QString> Received() {
        std::vector<QString> lines;
        for (int i = 0; i < 10; ++i) QTest::qWait(20);  // the server writes from the event loop
        while (client.canReadLine()) lines.push_back(QString::fromLatin1(client.readLine()).trimmed());
        return lines;
    }

    static QString Label(TMainForm& form) { return form.findChild<QLabel*>("ParameterLabel")->text(); }
    // The storm's lines on the alert notice.
    static int Notices(TMainForm& form) {
        return form.Alerts()->isVisible() ? static_cast<int>(form.Alerts()->Keys().count("storm")) : 0;
    }

    QTcpSocket client;
    char letter = 'E';
};

// The pressure of the status bar, in hPa.
double LabelPressure(const QString& label) {
    const QRegularExpression number("Pression atmosphérique: *([0-9]+[.,][0-9])hPa");
    const auto match = number.match(label);
    return match.hasMatch() ? match.captured(1).replace(',', '.').toDouble() : -1;
}

}  // namespace

TEST_F(NetworkOutputTest, BarometerSentencesCarryTheStatusBarsValues) {
    Attach(sim::Weather::Steady);
    TMainForm form({});
    StartOutput(form);
    form.DataThread()->RunCycle();
    const std::vector<QString> lines = Received();
    QString mda, xdr;
    for (const QString& l : lines) {
        if (l.startsWith("$WIMDA,")) mda = l;
        if (l.startsWith("$WIXDR,")) xdr = l;
    }
    ASSERT_FALSE(mda.isEmpty()) << "no MDA after a refresh";
    ASSERT_FALSE(xdr.isEmpty());
    const QStringList f = mda.split(',');
    const double shown = LabelPressure(Label(form));
    ASSERT_GT(shown, 900) << Label(form).toStdString();
    EXPECT_NEAR(f[3].toDouble() * 1000.0, shown, 0.05) << "bars, as the status bar shows it";
    EXPECT_NEAR(f[1].toDouble() * 33.8638866667, shown, 0.05) << "inches of mercury";
    EXPECT_EQ(f[5] + "°C", Label(form).section("Température: ", 1).section("°C", 0, 0).trimmed() + "°C");
    EXPECT_TRUE(xdr.contains(",B,Barometer,C,")) << xdr.toStdString();

    // A steady barometer: no warning of any kind.
    EXPECT_EQ(form.findChild<QLabel*>("ParameterLabel")->textFormat(), Qt::PlainText);
    EXPECT_EQ(Notices(form), 0);
    EXPECT_EQ(form.Ui()->Chart1->MarkCount(), 0);
    EXPECT_FALSE(form.Storm().Active());
}

TEST_F(NetworkOutputTest, AFallOfFourHectopascalsRaisesOneWarningUntilItEases) {
    Attach(sim::Weather::Storm);
    TMainForm form({});
    StartOutput(form);
    form.DataThread()->RunCycle();
    EXPECT_TRUE(form.Storm().Active());
    const QString label = Label(form);
    EXPECT_EQ(form.findChild<QLabel*>("ParameterLabel")->textFormat(), Qt::RichText);
    EXPECT_TRUE(label.contains(QRegularExpression("color:#e00000[^>]*>Tendance: -4[.,]0hPa/3h</span>")))
        << label.toStdString();
    ASSERT_EQ(Notices(form), 1);
    TAlertNotice* notice = form.Alerts();
    EXPECT_FALSE(notice->isModal()) << "the program goes on while the notice shows";
    const QTreeWidgetItem* line = notice->List()->topLevelItem(0);
    EXPECT_EQ(line->text(1), "Avis de tempête");
    EXPECT_TRUE(line->text(2).startsWith("Avis de tempête : le baromètre est en baisse rapide"))
        << line->text(2).toStdString();
    EXPECT_EQ(form.Ui()->Chart1->MarkCount(), 1);
    form.Ui()->Chart1->resize(980, 600);  // the page is not shown here
    const QRectF mark = form.Ui()->Chart1->MarkArea(0);
    EXPECT_FALSE(mark.isEmpty()) << "on the newest point of the curve";
    const QRectF plot = form.Ui()->Chart1->PlotArea();
    EXPECT_TRUE(mark.left() >= plot.left() && mark.right() <= plot.right())
        << "inside the chart, not cut at its edge";

    // The same fall at the next refresh: still one notice and one mark.
    Replug(form);
    EXPECT_TRUE(form.Storm().Active());
    EXPECT_EQ(Notices(form), 1);
    EXPECT_EQ(form.Ui()->Chart1->MarkCount(), 1);

    // The barometer steadies: the warning ends and the tendency is plain text again.
    sim::VolumeOptions steady;
    steady.weather = sim::Weather::Steady;
    steady.writeIndex = sim::VolumeOptions{}.writeIndex + 60;  // an hour of new samples
    ASSERT_TRUE(sim::MakeVolume("ZEL2B", temp / "E", steady));
    Replug(form);
    EXPECT_FALSE(form.Storm().Active()) << Label(form).toStdString();
    EXPECT_EQ(form.findChild<QLabel*>("ParameterLabel")->textFormat(), Qt::PlainText);
    EXPECT_FALSE(Label(form).contains("span"));
}

// The network dialog, reached from Réglages for every model: the threshold typed with the
// French decimal comma (or a point), kept in NMEA.INI, and Escape closes it.
TEST_F(NetworkOutputTest, TheThresholdIsTypedInTheNetworkDialogAndKept) {
    Attach(sim::Weather::Storm);
    TMainForm form({});
    StartOutput(form);
    EXPECT_EQ(form.NetworkAction()->text(), "Réseau du bord et alarmes…");
    Acquisition.Detection.ReceiverModel = "ZEL2D";
    form.SetConfigurationEnabled(false);  // as a ZEL2D has it
    EXPECT_TRUE(form.NetworkAction()->isEnabled());
    Acquisition.Detection.ReceiverModel.clear();

    TNetworkDlg dialog(form.Network(), &form);
    for (const char* typed : {"2,5", "5.5", "5"}) {
        dialog.show();
        EXPECT_TRUE(dialog.OutputCheckBox()->isChecked());
        QLineEdit* edit = dialog.ThresholdSpinEdit()->findChild<QLineEdit*>();
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, typed);
        QTest::mouseClick(dialog.findChild<QPushButton*>("OKBtn"), Qt::LeftButton);
        EXPECT_DOUBLE_EQ(form.Network().Settings().stormThreshold,
                         QString(typed).replace(',', '.').toDouble())
            << typed;
        EXPECT_FALSE(dialog.isVisible());
    }
    EXPECT_DOUBLE_EQ(nmea::LoadNmeaSettings(temp / "data/ZEL2/").stormThreshold, 5.0) << "kept in NMEA.INI";
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible()) << "Escape closes it";

    // A fall of 4 hPa is below the user's threshold of 5: no warning.
    form.DataThread()->RunCycle();
    EXPECT_FALSE(form.Storm().Active());
    EXPECT_EQ(Notices(form), 0);
    EXPECT_EQ(form.Ui()->Chart1->MarkCount(), 0);

    form.FormDestroy();
    std::ifstream config(temp / "data/ZEL2/CONFIG.BIN", std::ios::binary);
    std::stringstream bytes;
    bytes << config.rdbuf();
    EXPECT_EQ(bytes.str().size(), 5u) << "CONFIG.BIN keeps its five bytes";
}

TEST(NmeaOutput, AClientThatStopsReadingIsLetGoAndTheOthersKeepEverything) {
    TNmeaOutput output;
    nmea::TNmeaSettings s;
    s.enabled = true;
    s.tcpPort = 0;
    s.udpHost = "127.0.0.1";
    QUdpSocket plotter;
    ASSERT_TRUE(plotter.bind(QHostAddress::LocalHost, 0));
    s.udpPort = plotter.localPort();
    ASSERT_TRUE(output.Apply(s));

    QTcpSocket reading, stalled;
    stalled.setReadBufferSize(1);  // takes a byte and no more: the system's buffers fill
    reading.connectToHost("127.0.0.1", output.Port());
    stalled.connectToHost("127.0.0.1", output.Port());
    ASSERT_TRUE(reading.waitForConnected(5000) && stalled.waitForConnected(5000));
    for (int i = 0; i < 100 && output.Clients() < 2; ++i) QTest::qWait(10);
    ASSERT_EQ(output.Clients(), 2);
    qint64 received = 0;
    QObject::connect(&reading, &QTcpSocket::readyRead, [&] { received += reading.readAll().size(); });

    // Far more than any buffer holds; the sender never waits for the stalled client.
    const std::string sentence = nmea::MdaSentence(1013.2, 17.5);
    const qint64 total = 16LL * 1024 * 1024;
    qint64 sent = 0;
    while (sent < total) {
        for (int i = 0; i < 1000; ++i, sent += static_cast<qint64>(sentence.size())) output.Send(sentence);
        QCoreApplication::processEvents();
    }
    for (int i = 0; i < 500 && received < sent; ++i) QTest::qWait(10);
    for (int i = 0; i < 100 && output.Clients() > 1; ++i) QTest::qWait(TNmeaOutput::StallMilliseconds / 20);
    EXPECT_EQ(output.Clients(), 1) << "the stalled client is dropped";
    EXPECT_EQ(received, sent) << "the reading client lost nothing";
    QTest::qWait(20);
    EXPECT_TRUE(plotter.hasPendingDatagrams()) << "UDP goes to its destination as well";
    EXPECT_EQ(plotter.receiveDatagram().data().toStdString(), sentence);
}

// A port in use: the output says so where the settings are, tries again in the background,
// and listens once the port is free; the dialog follows without being reopened.
TEST_F(NetworkOutputTest, ABusyPortIsTriedAgainAndTheSettingsShowTheState) {
    TMainForm form({});
    Forms.MainForm = &form;
    QTcpServer squatter;
    ASSERT_TRUE(squatter.listen(QHostAddress::LocalHost, 0));
    nmea::TNmeaSettings s;
    s.enabled = true;
    s.tcpPort = squatter.serverPort();
    EXPECT_FALSE(form.Network().Output().Apply(s));
    EXPECT_EQ(form.Network().Output().State(), TNmeaOutput::TState::PortBusy);
    TNetworkDlg dialog(form.Network(), &form);
    dialog.show();
    const QString port = QString::number(s.tcpPort);
    EXPECT_EQ(dialog.StatusLabel()->text(), "Port " + port + " occupé : nouvel essai toutes les 2 secondes");

    squatter.close();
    for (int i = 0; i < 60 && !form.Network().Output().Listening(); ++i) QTest::qWait(100);
    ASSERT_TRUE(form.Network().Output().Listening()) << "listening once the port is free";
    EXPECT_EQ(dialog.StatusLabel()->text(), "À l’écoute sur le port " + port + ", aucun client connecté");
    QTcpSocket plotter;
    plotter.connectToHost("127.0.0.1", s.tcpPort);
    ASSERT_TRUE(plotter.waitForConnected(5000));
    for (int i = 0; i < 100 && form.Network().Output().Clients() == 0; ++i) QTest::qWait(10);
    EXPECT_EQ(dialog.StatusLabel()->text(), "À l’écoute sur le port " + port + ", 1 client connecté");
    EXPECT_TRUE(dialog.StatusLabel()->text().size() < 80);
}

// Two hundred plotters and six messages of 1 MiB: the sentences wait in queues, the event
// loop keeps turning (a timer keeps firing), and closing the output waits for none of it.
TEST(NmeaOutput, ManyClientsAndLargeMessagesNeverHoldUpTheWindow) {
    auto output = std::make_unique<TNmeaOutput>();
    nmea::TNmeaSettings s;
    s.enabled = true;
    s.tcpPort = 0;
    s.maxClients = 256;
    ASSERT_TRUE(output->Apply(s));
    std::vector<std::unique_ptr<QTcpSocket>> plotters;
    qint64 received = 0;
    for (int i = 0; i < 200; ++i) {
        plotters.push_back(std::make_unique<QTcpSocket>());
        QTcpSocket* p = plotters.back().get();
        QObject::connect(p, &QTcpSocket::readyRead, [p, &received] { received += p->readAll().size(); });
        p->connectToHost("127.0.0.1", output->Port());
        // A few at a time, as plotters come: no listen backlog overflows.
        for (int w = 0; w < 100 && i % 20 == 19 && output->Clients() <= i; ++w) QTest::qWait(10);
    }
    for (int i = 0; i < 500 && output->Clients() < 200; ++i) QTest::qWait(10);
    ASSERT_EQ(output->Clients(), 200);

    QElapsedTimer clock;
    clock.start();
    qint64 last = 0, longestGap = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        longestGap = std::max(longestGap, clock.elapsed() - last);
        last = clock.elapsed();
    });
    tick.start(5);
    QElapsedTimer sending;
    sending.start();
    for (int m = 0; m < 6; ++m) {
        const nmea::TNavtexMessage message{"FA1" + std::to_string(m), true, 2026, 12, 9, 3, 0, 0,
                                           std::string(1 << 20, 'W')};
        output->Send(nmea::NrxSentences(message, m));
    }
    const qint64 queueing = sending.elapsed();
    const qint64 pending = output->Waiting();
    last = clock.elapsed();
    for (int i = 0; i < 150; ++i) QTest::qWait(10);
    EXPECT_GT(received, 0) << "the sentences flow";
    // NRX carries at most 999 sentences (about 80 KB) of a message.
    EXPECT_GT(pending, qint64{200} * 6 * 65536) << "the test measured while they were pending";
    // Bounds far above a healthy run: a window that waited on the network took seconds.
    EXPECT_LT(queueing, 1500) << "ms to queue six megabytes for two hundred clients";
    EXPECT_LT(longestGap, 250) << "ms without an event";
    QElapsedTimer closing;
    closing.start();
    output.reset();
    EXPECT_LT(closing.elapsed(), 250) << "ms to close with megabytes unsent";
}
