// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/Language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <vector>

#include "common/Translatable.h"
#include "platform/Files.h"

namespace language {
namespace {

TLanguage current = TLanguage::French;

QTranslator& Program() {
    static QTranslator translator;
    return translator;
}

QTranslator& Toolkit() {
    static QTranslator translator;
    return translator;
}

// The core's texts through the same translations.
std::string TranslateForCore(const char* context, const char* text) {
    return QCoreApplication::translate(context, text).toStdString();
}

QString QmOf(TLanguage language) {
    return QStringLiteral(":/i18n/zel2_%1.qm").arg(QString::fromLatin1(Code(language)));
}

}  // namespace

const char* Code(TLanguage language) {
    return language == TLanguage::English ? "en" : language == TLanguage::German ? "de" : "fr";
}

std::optional<TLanguage> FromCode(const std::string& code) {
    for (const TLanguage l : {TLanguage::French, TLanguage::English, TLanguage::German})
        if (code == Code(l)) return l;
    return std::nullopt;
}

QString OwnName(TLanguage language) {
    return language == TLanguage::English  ? QStringLiteral("English")
           : language == TLanguage::German ? QStringLiteral("Deutsch")
                                           : QStringLiteral("Français");
}

QLocale LocaleOf(TLanguage language) {
    // The language with the system's country where they agree: a Swiss German keeps his.
    const QLocale::Language wanted = language == TLanguage::English  ? QLocale::English
                                     : language == TLanguage::German ? QLocale::German
                                                                     : QLocale::French;
    if (QLocale::system().language() == wanted) return QLocale::system();
    return QLocale(wanted, language == TLanguage::English  ? QLocale::UnitedKingdom
                           : language == TLanguage::German ? QLocale::Germany
                                                           : QLocale::France);
}

TLanguage FromSystem(const QLocale& system) {
    switch (system.language()) {
        case QLocale::English:
            return TLanguage::English;
        case QLocale::German:
            return TLanguage::German;
        default:
            return TLanguage::French;
    }
}

TLanguage Chosen(const std::string& archivePath) {
    std::vector<uint8_t> bytes;
    if (platform::ReadWholeFile(platform::JoinPath(archivePath, "WINDOW.INI"), bytes, 4096)) {
        const QString text = QString::fromLatin1(reinterpret_cast<const char*>(bytes.data()),
                                                 static_cast<qsizetype>(bytes.size()));
        for (const QString& line : text.split('\n'))
            if (line.startsWith("language="))
                if (const auto chosen = FromCode(line.section('=', 1).trimmed().toStdString()); chosen)
                    return *chosen;
    }
    return FromSystem();
}

TLanguage Install(TLanguage language) {
    QCoreApplication::removeTranslator(&Program());
    QCoreApplication::removeTranslator(&Toolkit());
    if (language != TLanguage::French && Program().load(QmOf(language)))
        QCoreApplication::installTranslator(&Program());
    // French is the core's own: its texts as they are written, not even looked up.
    translatable::SetTranslator(language == TLanguage::French ? nullptr : &TranslateForCore);
    if (Toolkit().load(LocaleOf(language), "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&Toolkit());
    current = language;
    return language;
}

TLanguage Current() {
    return current;
}

QString TranslateInto(TLanguage language, const char* context, const char* text) {
    if (language == TLanguage::French) return QString::fromUtf8(text);
    QTranslator translator;
    if (!translator.load(QmOf(language))) return QString::fromUtf8(text);
    const QString translated = translator.translate(context, text);
    return translated.isEmpty() ? QString::fromUtf8(text) : translated;
}

}  // namespace language
