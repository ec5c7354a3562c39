// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/ui/HistoryPanel.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QKeyEvent>
#include <QMessageBox>
#include <QVBoxLayout>

#include "app/ui/MessageBox.h"
#include "common/Band.h"
#include "common/DateTime.h"
#include "history/MessageText.h"
#include "history/Words.h"
#include "navtex/UnitNavtex.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Log.h"

namespace {

constexpr int IdRole = Qt::UserRole + 2;
constexpr int TipRole = Qt::UserRole + 3;  // the tool tip without the state
constexpr int NameRole = Qt::UserRole + 4;
constexpr const char* SubjectLetters = "ABCDEFGHJKL";

QComboBox* MakeCombo(QWidget* parent, const char* name, const QString& toolTip) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setToolTip(toolTip);
    // The column may be narrow: the boxes shrink and show their texts whole when opened.
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(4);
    return combo;
}

// In the program's own local time, as the receiver's tree.
QString ReceivedText(int64_t received) {
    if (received < 0) return QCoreApplication::translate("THistoryPanel", "date inconnue");
    return QString::fromStdString(datetime::LocalDateTimeText(received, " "));
}

QString HitsText(size_t total) {
    const QLocale french(QLocale::French);
    if (total == 0) return QCoreApplication::translate("THistoryPanel", "Aucun message trouvé");
    if (total == 1) return QCoreApplication::translate("THistoryPanel", "1 message trouvé");
    QString text = QCoreApplication::translate("THistoryPanel", "%1 messages trouvés")
                       .arg(french.toString(static_cast<qlonglong>(total)));
    if (total > static_cast<size_t>(THistoryPanel::ShownHits))
        text += QCoreApplication::translate("THistoryPanel", ", les %1 plus récents affichés")
                    .arg(THistoryPanel::ShownHits);
    return text;
}

}  // namespace

THistoryPanel::THistoryPanel(QTreeWidget* tree, QWidget* parent) : QWidget(parent), receiverTree(tree) {
    setObjectName("HistoryPanel");
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);

    field = new QLineEdit(this);
    field->setObjectName("SearchField");
    field->setPlaceholderText(QCoreApplication::translate("THistoryPanel", "Rechercher"));
    field->setClearButtonEnabled(true);
    field->setToolTip(
        QStringLiteral("Rechercher dans tous les messages reçus (Ctrl+F) ; Échap pour revenir"));
    field->installEventFilter(this);
    column->addWidget(field);

    auto* filters = new QGridLayout;
    filters->setContentsMargins(0, 0, 0, 0);
    filters->setSpacing(2);
    band = MakeCombo(this, "HistoryBand", QCoreApplication::translate("THistoryPanel", "Fréquence"));
    band->addItem(QCoreApplication::translate("THistoryPanel", "518 et 490 kHz"), 0);
    band->addItem(QStringLiteral("518 kHz"), 518);
    band->addItem(QStringLiteral("490 kHz"), 490);
    span =
        MakeCombo(this, "HistorySpan", QCoreApplication::translate("THistoryPanel", "Période de réception"));
    span->addItem(QCoreApplication::translate("THistoryPanel", "Tout l’historique"), 0);
    span->addItem(QCoreApplication::translate("THistoryPanel", "Dernières 24 heures"), 1);
    span->addItem(QCoreApplication::translate("THistoryPanel", "3 derniers jours"), 3);
    span->addItem(QCoreApplication::translate("THistoryPanel", "7 derniers jours"), 7);
    station = MakeCombo(this, "HistoryStation",
                        QCoreApplication::translate("THistoryPanel", "Station émettrice (B1)"));
    station->addItem(QCoreApplication::translate("THistoryPanel", "Toutes les stations"), QString());
    for (char c = 'A'; c <= 'Z'; ++c)
        station->addItem(QCoreApplication::translate("THistoryPanel", "Station %1").arg(c),
                         QString(QChar(c)));
    subject = MakeCombo(this, "HistorySubject",
                        QCoreApplication::translate("THistoryPanel", "Sujet du message (B2)"));
    subject->addItem(QCoreApplication::translate("THistoryPanel", "Tous les sujets"), QString());
    for (const char* c = SubjectLetters; *c; ++c)
        subject->addItem(
            QStringLiteral("%1 – %2").arg(
                QChar(*c), QCoreApplication::translate(
                               "navtex", navtex::CategoryTexts[navtex::CategoryOf(std::string("?") + *c)])),
            QString(QChar(*c)));
    filters->addWidget(band, 0, 0);
    filters->addWidget(span, 0, 1);
    filters->addWidget(station, 1, 0);
    filters->addWidget(subject, 1, 1);
    inForceOnly = new QCheckBox(QCoreApplication::translate("THistoryPanel", "En vigueur seulement"), this);
    inForceOnly->setObjectName("HistoryInForce");
    inForceOnly->setToolTip(QCoreApplication::translate(
        "THistoryPanel",
        "Ne montrer que les messages encore en vigueur : ni annulés, ni expirés, ni remplacés, "
        "ni absents de la dernière liste des avertissements en vigueur"));
    inForceOnly->setChecked(true);
    filters->addWidget(inForceOnly, 2, 0, 1, 2);
    nearOnly =
        new QCheckBox(QCoreApplication::translate("THistoryPanel", "À moins de 50 nm du bateau"), this);
    nearOnly->setObjectName("HistoryNear");
    nearOnly->setToolTip(QCoreApplication::translate(
        "THistoryPanel",
        "Ne montrer que les avertissements en vigueur dont une position est à moins "
        "de cette distance du bateau (sans position du bateau, tous)"));
    filters->addWidget(nearOnly, 3, 0, 1, 2);
    column->addLayout(filters);

    hits = new QLabel(this);
    hits->setObjectName("HistoryHits");
    hits->setWordWrap(true);
    hits->hide();
    column->addWidget(hits);

    stack = new QStackedWidget(this);
    results = new QTreeWidget(this);
    results->setObjectName("HistoryTree");
    results->setHeaderHidden(true);
    results->setFont(tree->font());
    results->setPalette(tree->palette());
    results->setIndentation(tree->indentation());
    results->installEventFilter(this);
    stack->addWidget(tree);
    stack->addWidget(results);
    column->addWidget(stack, 1);

    typing.setSingleShot(true);
    typing.setInterval(150);
    connect(&typing, &QTimer::timeout, this, &THistoryPanel::Search);
    connect(field, &QLineEdit::textEdited, this, [this] { typing.start(); });
    // The clear button empties the field without an edit of the user's.
    connect(field, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (text.isEmpty()) EndSearch();
    });
    for (QComboBox* combo : {band, span, station, subject})
        connect(combo, &QComboBox::currentIndexChanged, this, [this] {
            if (Searching()) Search();
        });
    for (QCheckBox* box : {inForceOnly, nearOnly})
        connect(box, &QCheckBox::toggled, this, [this] {
            if (Searching()) Search();
        });
    connect(results, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) { Choose(item); });
}

THistoryPanel::~THistoryPanel() {
    Stop();
}

void THistoryPanel::Start(const std::string& archiveRoot,
                          std::function<void(int added, const history::THistoryStore& store)> written) {
    databasePath = platform::JoinPath(archiveRoot, history::DatabaseName);
    history::THistoryWriter::Events events;
    // Both come on the writer's thread; the panel handles them on its own.
    events.opened = [this](history::THistoryWriter::State state, const std::string& aside) {
        const QString setAside = QString::fromStdString(aside);
        QMetaObject::invokeMethod(
            this, [this, state, setAside] { Opened(state, setAside); }, Qt::QueuedConnection);
    };
    events.trouble = [this](history::THistoryStore::Problem problem, const std::string&) {
        QMetaObject::invokeMethod(
            this, [this, problem] { Trouble(problem); }, Qt::QueuedConnection);
    };
    events.recorded = [this](int) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (Searching()) Search();
            },
            Qt::QueuedConnection);
    };
    events.written = std::move(written);
    writer = std::make_unique<history::THistoryWriter>(databasePath, std::move(events));
}

void THistoryPanel::Stop() {
    writer.reset();
    reader.Close();
}

void THistoryPanel::ArchiveRead(std::vector<navtex::TArchiveFile> files) {
    if (writer) writer->Add(std::move(files));
}

void THistoryPanel::Opened(history::THistoryWriter::State opened, const QString& setAsideAs) {
    state = opened;
    if (state == history::THistoryWriter::State::Unavailable) {
        reader.Close();
        field->setToolTip(
            QStringLiteral("L’historique des messages ne peut pas être ouvert ; la recherche est "
                           "indisponible."));
        field->setEnabled(false);
        return;
    }
    field->setToolTip({});
    field->setEnabled(true);
    if (!setAsideAs.isEmpty()) {
        reader.Close();  // it would go on reading the file set aside
        SetAsideNotice(setAsideAs);
    }
    if (Searching()) Search();
}

void THistoryPanel::SetAsideNotice(const QString& setAsideAs) {
    // Once, and without stopping the program: the history is being rebuilt meanwhile.
    ShowNotice(QCoreApplication::translate(
                   "THistoryPanel",
                   "L’historique des messages était endommagé. Il a été mis de côté sous le nom « %1 » "
                   "et un nouvel historique est fait à partir des messages de l’archive et de ceux "
                   "qui ont pu y être relus.")
                   .arg(QFileInfo(setAsideAs).fileName()));
}

void THistoryPanel::Trouble(history::THistoryStore::Problem problem) {
    using Problem = history::THistoryStore::Problem;
    const QString kept =
        QCoreApplication::translate("THistoryPanel",
                                    " L’historique est conservé tel quel et le programme réessaie toutes les "
                                    "30 secondes. Les détails sont dans le journal (%1).")
            .arg(platform::LogName);
    QString text;
    switch (problem) {
        case Problem::None:
        case Problem::Busy:
            return;
        case Problem::DiskFull:
            text = QCoreApplication::translate(
                       "THistoryPanel",
                       "Le disque est plein : les nouveaux messages ne peuvent pas être enregistrés dans "
                       "l’historique.") +
                   kept;
            break;
        case Problem::InputOutput:
            text = QCoreApplication::translate(
                       "THistoryPanel",
                       "Une erreur d’entrée-sortie du disque empêche d’enregistrer l’historique des "
                       "messages.") +
                   kept;
            break;
        case Problem::Access:
            text = QCoreApplication::translate(
                       "THistoryPanel",
                       "Le fichier de l’historique des messages ne peut pas être écrit (droits d’accès ou "
                       "lecture seule).") +
                   kept;
            break;
        case Problem::Newer:
            text = state == history::THistoryWriter::State::ReadOnly
                       ? QCoreApplication::translate(
                             "THistoryPanel",
                             "L’historique des messages a été créé par une version plus récente du "
                             "programme. Il est laissé tel quel : la recherche le consulte sans y écrire.")
                       : QStringLiteral(
                             "L’historique des messages a été créé par une version plus récente du "
                             "programme. Il est laissé tel quel ; la recherche est indisponible.");
            break;
        case Problem::Damaged:
        case Problem::Refused:
        case Problem::Other:
            text = QCoreApplication::translate(
                       "THistoryPanel",
                       "Les nouveaux messages ne peuvent pas être enregistrés dans l’historique.") +
                   kept;
            break;
    }
    ShowNotice(text);
}

void THistoryPanel::ShowNotice(const QString& text) {
    if (notice) notice->close();
    notice = MakeMessageBox(window(), TBoxKind::Information, text, TBoxButtons::Ok);
    notice->setAttribute(Qt::WA_DeleteOnClose);
    notice->setModal(false);
    notice->setObjectName("HistoryNotice");
    notice->setWindowTitle(QCoreApplication::translate("THistoryPanel", "Historique des messages"));
    notice->show();
}

bool THistoryPanel::OpenReader() {
    if (reader.IsOpen()) return true;
    if (!writer) return false;
    const history::THistoryWriter::State now = writer->GetState();
    if (now != history::THistoryWriter::State::Ready && now != history::THistoryWriter::State::ReadOnly)
        return false;
    return reader.OpenForReading(databasePath);
}

void THistoryPanel::FocusSearch() {
    field->setFocus(Qt::ShortcutFocusReason);
    field->selectAll();
}

history::TFilter THistoryPanel::Filter() const {
    history::TFilter filter;
    filter.band = band->currentData().toInt();
    const QString b1 = station->currentData().toString(), b2 = subject->currentData().toString();
    filter.station = b1.isEmpty() ? 0 : b1.at(0).toLatin1();
    filter.subject = b2.isEmpty() ? 0 : b2.at(0).toLatin1();
    if (const int days = span->currentData().toInt(); days > 0)
        filter.since = history::UnixNow() - int64_t{days} * 86400;
    if (inForceOnly->isChecked() && inForce) filter.keep = inForce;
    if (nearOnly->isChecked() && near)
        filter.keep = [inForce = filter.keep, near = near](int64_t id) {
            return (!inForce || inForce(id)) && near(id);
        };
    return filter;
}

void THistoryPanel::Search() {
    typing.stop();
    const std::string typed = field->text().toStdString();
    if (history::MatchExpression(typed).empty()) {
        if (field->text().trimmed().isEmpty()) EndSearch();
        return;
    }
    const QTreeWidgetItem* current = results->currentItem();
    const int64_t keep = Searching() && current ? current->data(0, IdRole).toLongLong() : 0;
    stack->setCurrentWidget(results);
    hits->show();
    if (!OpenReader()) {
        results->clear();
        hits->setText(QCoreApplication::translate("THistoryPanel", "L’historique se prépare…"));
        return;
    }
    ShowHits(reader.Search(typed, Filter(), ShownHits), keep);
}

void THistoryPanel::ShowHits(const history::TSearchResult& result, int64_t keep) {
    std::vector<history::THit> found = result.hits;
    reader.FillFirstLines(found);
    const QSignalBlocker quiet(results);
    results->clear();
    hits->setText(result.ok ? HitsText(result.total)
                            : QCoreApplication::translate("THistoryPanel", "La recherche a échoué"));
    // Grouped as the receiver's tree: by band, then by subject, newest first.
    QTreeWidgetItem* roots[BandCount] = {};
    QTreeWidgetItem* categories[BandCount][navtex::CategoryCount] = {};
    int counts[BandCount][navtex::CategoryCount] = {};
    QTreeWidgetItem* kept = nullptr;
    for (const history::THit& hit : found) {
        const int b = BandSlot(hit.band);
        const int c = navtex::CategoryOf(hit.name);
        if (!roots[b])
            roots[b] = new QTreeWidgetItem(
                QStringList(hit.band == NationalBand ? navtex::Root490Text : navtex::Root518Text));
        if (!categories[b][c]) categories[b][c] = new QTreeWidgetItem(roots[b]);
        ++counts[b][c];
        auto* item = new QTreeWidgetItem(categories[b][c]);
        item->setText(0,
                      QString::fromStdString(hit.name) + QStringLiteral("  ") + ReceivedText(hit.received));
        item->setToolTip(0, QString::fromStdString(hit.firstLine) +
                                QCoreApplication::translate("THistoryPanel", "\nreçu le ") +
                                ReceivedText(hit.received));
        item->setData(0, IdRole, static_cast<qlonglong>(hit.id));
        item->setData(0, TipRole, item->toolTip(0));
        item->setData(0, NameRole, QString::fromStdString(hit.name));
        if (hit.id == keep) kept = item;
    }
    for (int b = 0; b < BandCount; ++b) {
        if (!roots[b]) continue;
        results->addTopLevelItem(roots[b]);
        for (int c = 0; c < navtex::CategoryCount; ++c)
            if (categories[b][c])
                categories[b][c]->setText(
                    0, QStringLiteral("%1 (%2)")
                           .arg(QCoreApplication::translate("navtex", navtex::CategoryTexts[c]))
                           .arg(counts[b][c]));
    }
    ColourStates();
    results->expandAll();
    if (kept) results->setCurrentItem(kept);
}

void THistoryPanel::SetNear(std::function<bool(int64_t id)> test, int nm) {
    near = std::move(test);
    nearOnly->setText(QCoreApplication::translate("THistoryPanel", "À moins de %1 nm du bateau").arg(nm));
}

void THistoryPanel::NameStations() {
    for (int i = 1; i < station->count(); ++i) {
        const QChar letter = station->itemData(i).toString().at(0);
        const std::string heard = stationsHeard ? stationsHeard(letter.toLatin1()) : std::string();
        station->setItemText(
            i, heard.empty() ? QCoreApplication::translate("THistoryPanel", "Station %1").arg(letter)
                             : QStringLiteral("%1 · %2").arg(letter).arg(QString::fromStdString(heard)));
    }
}

void THistoryPanel::ShowStates() {
    // What is no longer in force leaves the results shown in force only.
    if (Searching() && inForceOnly->isChecked() && inForce) {
        Search();
        return;
    }
    ColourStates();
}

void THistoryPanel::ColourStates() {
    for (QTreeWidgetItemIterator it(results); *it; ++it) {
        QTreeWidgetItem* item = *it;
        const QVariant id = item->data(0, IdRole);
        if (!id.isValid()) continue;
        const QString ended = endedTip ? endedTip(id.toLongLong()) : QString();
        const TMark mark = ended.isEmpty() && marker
                               ? marker(id.toLongLong(), item->data(0, NameRole).toString().toStdString())
                               : TMark{};
        item->setForeground(0, !ended.isEmpty()        ? QBrush(QColor(128, 128, 128))
                               : mark.colour.isValid() ? QBrush(mark.colour)
                                                       : QBrush());
        item->setIcon(0, mark.icon);
        item->setToolTip(0, item->data(0, TipRole).toString() + ended +
                                (mark.words.isEmpty() ? QString() : "\n" + mark.words));
    }
}

void THistoryPanel::Choose(QTreeWidgetItem* item) {
    if (!item || !item->data(0, IdRole).isValid()) return;
    history::TStoredMessage message;
    if (!reader.Message(item->data(0, IdRole).toLongLong(), message)) return;
    TMsgHeaderElement record;
    record.Name = message.name;
    record.Age = message.received < 0 ? -1 : datetime::PackFat(platform::ToLocal(message.received));
    shownName = message.name;
    const QString state = stateWords ? stateWords(message.id) : QString();
    emit MessageChosen(history::ShownText(message.bytes),
                       QString::fromStdString(navtex::MessageHeader(
                           record, message.band, false,
                           stationNamer ? stationNamer(message.band, message.name, message.bytes) : "")) +
                           QCoreApplication::translate("THistoryPanel", " · historique") +
                           (state.isEmpty() ? QString() : QStringLiteral(" · ") + state));
}

void THistoryPanel::EndSearch() {
    typing.stop();
    if (!Searching()) return;
    const bool hadFocus = results->hasFocus();
    stack->setCurrentWidget(receiverTree);
    hits->hide();
    {
        const QSignalBlocker quiet(results);
        results->clear();
    }
    shownName.clear();
    if (!field->text().isEmpty()) field->clear();
    if (hadFocus) receiverTree->setFocus();
    emit SearchEnded();
}

bool THistoryPanel::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == field || watched == results) && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape) {
            field->clear();
            EndSearch();
            return true;
        }
        // Down from the field goes to the messages found.
        if (watched == field && key->key() == Qt::Key_Down && Searching()) {
            typing.stop();
            Search();
            results->setFocus();
            const QTreeWidgetItem* current = results->currentItem();
            if ((!current || current->childCount() > 0) && results->topLevelItemCount() > 0) {
                QTreeWidgetItem* first = results->topLevelItem(0);
                while (first->childCount() > 0) first = first->child(0);
                results->setCurrentItem(first);
            }
            return true;
        }
        if (watched == field && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            Search();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void THistoryPanel::LoadSettings(const QStringList& lines) {
    const auto pick = [](QComboBox* combo, const QVariant& value) {
        const int index = combo->findData(value);
        if (index >= 0) combo->setCurrentIndex(index);
    };
    for (const QString& line : lines) {
        const QString key = line.section('=', 0, 0).trimmed(), value = line.section('=', 1).trimmed();
        if (key == "history-band")
            pick(band, value.toInt());
        else if (key == "history-days")
            pick(span, value.toInt());
        else if (key == "history-station")
            pick(station, value);
        else if (key == "history-subject")
            pick(subject, value);
        else if (key == "history-in-force")
            inForceOnly->setChecked(value != "0");
        else if (key == "history-near")
            nearOnly->setChecked(value == "1");
    }
}

QStringList THistoryPanel::Settings() const {
    return {QStringLiteral("history-band=%1").arg(band->currentData().toInt()),
            QStringLiteral("history-days=%1").arg(span->currentData().toInt()),
            QStringLiteral("history-station=%1").arg(station->currentData().toString()),
            QStringLiteral("history-subject=%1").arg(subject->currentData().toString()),
            QStringLiteral("history-in-force=%1").arg(inForceOnly->isChecked() ? 1 : 0),
            QStringLiteral("history-near=%1").arg(nearOnly->isChecked() ? 1 : 0)};
}
