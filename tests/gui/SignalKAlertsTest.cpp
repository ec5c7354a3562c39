// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QUdpSocket>

#include "acquisition/AcquisitionState.h"
#include "app/ui/AlertNotice.h"
#include "app/ui/Application.h"
#include "app/ui/UnitMain.h"
#include "nmea/ui/NetworkDialog.h"
#include "platform/Thread.h"
#include "sim/DriveMapFile.h"
#include "sim/VolumeWriter.h"
#include "support/SignalKServer.h"
#include "support/WindowTest.h"

namespace {

// The window on a simulated ZEL2D whose traffic holds a search-and-rescue message, a gale
// warning (GB05) and a wreck 6 nm from the boat (FA12), its alerts sent to a real Signal K
// server on loopback.
class SignalKAlertsTest : public testing_support::WindowTest {
protected:
    SignalKAlertsTest() : WindowTest("drives.tsv") {
        temp.WriteFile("drives.tsv", "");
        platform::SetMainThread();
        temp.MakeFolder("data");
        temp.MakeFolder("data/ZEL2");
    }
    ~SignalKAlertsTest() override {
        Forms = TApplicationForms{};
        Acquisition.Detection = {};
        Acquisition.CurrentDrive = receiver::NoDrive;
    }

    void Settings(const std::string& server) {
        temp.WriteFile(
            "data/ZEL2/NMEA.INI",
            "position-source=fixed\r\nposition-fixed=48.6,-5.3\r\nsignalk-alerts=" + server + "\r\n");
    }

    // The receiver with these messages besides the day's traffic, read by a full refresh (it
    // is plugged in anew on the next letter).
    void Receive(TMainForm& form, std::vector<sim::SimMessage> more) {
        sim::VolumeOptions options;
        options.more518 = std::move(more);
        ASSERT_TRUE(sim::MakeVolume("ZEL2D", temp / "E", options));
        ASSERT_TRUE(sim::AttachDrive(temp / "drives.tsv", letter, "removable", "ZEL2D", temp / "E"));
        if (letter > 'E') {
            ASSERT_TRUE(sim::DetachDrive(temp / "drives.tsv", static_cast<char>(letter - 1)));
        }
        ++letter;
        form.DataThread()->RunCycle();
    }

    // Waits for the server to hold that state at notifications.navtex.518.<name>.
    static bool Holds(testing_support::SignalKServer& server, const char* name, const char* state,
                      const QByteArray& token = {}) {
        return QTest::qWaitFor(
            [&] {
                return server.SelfValue(QStringLiteral("notifications/navtex/518/%1").arg(name),
                                        token)["state"] == QString(state);
            },
            60000);
    }

    const sim::SimMessage Sar{"ED04", 20,
                              "MRCC CORSEN\nMAYDAY RELAY\nLIFERAFT SIGHTED 48-40.0N 005-00.0W.\n"};
    char letter = 'E';
};

quint16 FreeUdpPort() {
    QUdpSocket probe;
    probe.bind(QHostAddress::LocalHost, 0);
    return probe.localPort();
}

}  // namespace

TEST_F(SignalKAlertsTest, EachAlertWithItsStateClearedWhenCancelledAndSentAgainAfterTheServerReturns) {
    if (const QString why = testing_support::SignalKServer::MissingReason(); !why.isEmpty())
        GTEST_SKIP() << why.toStdString();
    testing_support::SignalKServer server;
    server.Start(temp, FreeUdpPort(), false);
    Settings(server.Address());
    TMainForm form({});
    Receive(form, {Sar});
    ASSERT_TRUE(Holds(server, "ED04", "emergency")) << form.Network().Notifier().StateText().toStdString();
    ASSERT_TRUE(Holds(server, "GB05", "warn"));
    ASSERT_TRUE(Holds(server, "FA12", "alarm"));
    const QJsonObject sar = server.SelfValue("notifications/navtex/518/ED04");
    EXPECT_EQ(sar["method"].toArray(), QJsonArray({"visual", "sound"}));
    EXPECT_TRUE(sar["message"].toString().contains("Renseignements recherche/sauvetage · MAYDAY RELAY"))
        << sar["message"].toString().toStdString();
    EXPECT_NEAR(sar["position"].toObject()["latitude"].toDouble(), 48 + 40.0 / 60, 1e-6);
    EXPECT_TRUE(server.SelfValue("notifications/navtex/518/AL02").isEmpty()) << "far from the boat";
    EXPECT_TRUE(server.SelfValue("notifications/navtex/518/EE33").isEmpty()) << "a forecast";

    // The search ends: the message is cancelled, its notification normal again.
    Receive(form, {Sar, {"ED05", 5, "MRCC CORSEN\nSEARCH TERMINATED. CANCEL ED04.\n"}});
    EXPECT_TRUE(Holds(server, "ED04", "normal"));
    EXPECT_TRUE(Holds(server, "ED05", "emergency"));

    // Away while a message comes: it arrives once the server is back, with every alert still
    // raised (a restarted server has forgotten them).
    server.Stop();
    Receive(form, {Sar, {"ED06", 1, "MRCC CORSEN\nMAYDAY RELAY\nPERSON IN WATER 48-35.0N 005-10.0W.\n"}});
    QTest::qWait(500);
    server.Launch();
    EXPECT_TRUE(Holds(server, "ED06", "emergency")) << form.Network().Notifier().StateText().toStdString();
    EXPECT_TRUE(Holds(server, "ED05", "emergency"));
    EXPECT_TRUE(Holds(server, "GB05", "warn"));

    // Acknowledged in the program: cleared.
    ASSERT_TRUE(form.Alerts()->isVisible());
    form.Alerts()->AcknowledgeButton()->click();
    EXPECT_TRUE(Holds(server, "GB05", "normal"));
    EXPECT_TRUE(Holds(server, "ED06", "normal"));
}

TEST_F(SignalKAlertsTest, WithTheServersSecurityOnThroughAnApprovedAccessRequest) {
    if (const QString why = testing_support::SignalKServer::MissingReason(); !why.isEmpty())
        GTEST_SKIP() << why.toStdString();
    testing_support::SignalKServer server;
    server.Start(temp, FreeUdpPort(), true);
    Settings(server.Address());
    TMainForm form({});
    Receive(form, {Sar});
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return form.Network().Notifier().StateText().contains("refuse l’accès"); }, 60000))
        << form.Network().Notifier().StateText().toStdString();
    // The request made from the dialog, approved by the administrator after it has closed.
    TNetworkDlg dialog(form.Network());
    dialog.show();
    EXPECT_TRUE(dialog.findChild<QCheckBox*>("SignalKAlerts")->isChecked());
    EXPECT_EQ(dialog.findChild<QLineEdit*>("SignalKAlertsAddress")->text().toStdString(), server.Address());
    dialog.findChild<QPushButton*>("SignalKAlertsAccessBtn")->click();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return dialog.findChild<QLabel*>("SignalKAlertsStatus")->text().contains("en attente"); },
        10000));
    dialog.close();
    ASSERT_EQ(server.ApproveAll(), 1);
    const QByteArray admin = server.AdminToken();
    EXPECT_TRUE(Holds(server, "ED04", "emergency", admin))
        << form.Network().Notifier().StateText().toStdString();
    EXPECT_TRUE(Holds(server, "GB05", "warn", admin));
}
