// SPDX-License-Identifier: MIT
// The program in other languages: the language follows the desktop's, the catalogues hold every text
// of the sources translated and nothing else, and no text of any window stays English under a
// catalogue. Each test sets its language itself.

#include "app_windows.h"
#include "main_window.h"
#include "pref_dialog.h"
#include "qt_application_environment.h"
#include "settings.h"
#include "translations.h"
#include "web_page_data.h"
#include "web_page_template.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTranslator>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <string_view>
#include <utility>
#include <vector>

namespace {

testing::Environment* const qtApplication =
    testing::AddGlobalTestEnvironment(new QtApplicationEnvironment<QApplication>);

using Variables = std::vector<std::pair<const char*, const char*>>;

QProcessEnvironment environment(const Variables& variables) {
    QProcessEnvironment env;
    for (const auto& [name, value] : variables)
        env.insert(QLatin1String(name), QLatin1String(value));
    return env;
}

TEST(DesktopLanguage, FollowsLanguageThenTheLocaleWithEnglishAsFallback) {
    const struct {
        const char* why;
        Variables variables;
        const char* language;
    } rows[] = {
        {"nothing set", {}, ""},
        {"LANGUAGE alone", {{"LANGUAGE", "de"}}, "de"},
        {"the first entry of LANGUAGE with a catalogue", {{"LANGUAGE", "es_ES:fr_FR.UTF-8:de"}}, "fr"},
        {"English listed first", {{"LANGUAGE", "en_GB:de"}}, ""},
        {"LANGUAGE before the locale", {{"LANGUAGE", "fr"}, {"LANG", "de_DE.UTF-8"}}, "fr"},
        {"LANGUAGE without a catalogue", {{"LANGUAGE", "es"}, {"LANG", "de_DE.UTF-8"}}, "de"},
        {"LC_ALL first", {{"LC_ALL", "fr_FR.UTF-8"}, {"LC_MESSAGES", "de_DE"}, {"LANG", "de_DE"}}, "fr"},
        {"LC_MESSAGES before LANG", {{"LC_MESSAGES", "de_AT@euro"}, {"LANG", "fr_FR"}}, "de"},
        {"the C locale", {{"LANG", "C"}}, ""},
        {"a locale without a catalogue", {{"LANG", "es_ES.UTF-8"}}, ""},
        {"LC_ALL=C over a German LANG", {{"LC_ALL", "C"}, {"LANG", "de_DE.UTF-8"}}, ""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(desktopLanguage(environment(row.variables)), QLatin1String(row.language)) << row.why;
}

TEST(DesktopLanguage, MenusAndQtsOwnButtonsReadTheChosenLanguage) {
    const struct {
        Variables variables;
        const char* fileMenu;
        const char* qtCancel;
    } rows[] = {
        {{{"LANGUAGE", "de"}}, "&Datei", "Abbrechen"},
        {{{"LANGUAGE", "fr"}}, "&Fichier", "Annuler"},
        {{{"LANG", "C"}}, "&File", "Cancel"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.fileMenu);
        const ProgramTranslations translations(desktopLanguage(environment(row.variables)));
        const std::unique_ptr<AppWindows> windows(createAppWindows());
        const auto* file = windows->MainFormverasco->findChild<QMenu*>(QStringLiteral("FileMenu"));
        ASSERT_NE(file, nullptr);
        EXPECT_EQ(file->title(), QLatin1String(row.fileMenu));
        EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QLatin1String(row.qtCancel));
    }
}

// The settings keep the English word of an appearance whatever the language the box shows it in.
TEST(DesktopLanguage, PreferencesStoreTheAppearanceWordNotItsTranslation) {
    const struct {
        const char* language;
        const char* shown;
    } rows[] = {{"de", "Dunkel"}, {"fr", "Sombre"}, {"", "Dark"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.shown);
        const ProgramTranslations translations{QString::fromLatin1(row.language)};
        TprefFrm dialog;
        Settings settings = Settings::defaults();
        settings.Appearance = QStringLiteral("Dark");
        dialog.fillFrom(settings);
        auto* box = dialog.findChild<QComboBox*>(QStringLiteral("AppearanceBox"));
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->currentText(), QLatin1String(row.shown));
        settings.Appearance = QStringLiteral("System");
        dialog.takeInto(settings);
        EXPECT_EQ(settings.Appearance, QLatin1String("Dark"));
    }
}

// The exported web page's buttons and notes read the program's language, escaped as page text; in
// English the page is the template as it is, byte for byte, around the show's data.
TEST(DesktopLanguage, TheWebPageSpeaksTheProgramsLanguage) {
    const QByteArray english(sharing::WebPageTemplate);
    const qsizetype data = english.indexOf("/*SHOW*/null");
    const struct {
        const char* language;
        const char* lang;
    } rows[] = {{"de", "de"}, {"fr", "fr"}, {"en", "en"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.language);
        const ProgramTranslations translations(desktopLanguage(environment({{"LANGUAGE", row.language}})));
        const QByteArray page = sharing::webPageHtml(QStringLiteral("Show"), {}, {});
        EXPECT_TRUE(page.contains(QByteArray("<html lang=\"") + row.lang + "\">"));
        for (const char* text : {"Click to start the show", "Previous image (Left)", "Play or stop (Space)",
                                 "Next image (Right)", "Full screen (F)", "Full screen"}) {
            const QString shown = QCoreApplication::translate("WebPage", text);
            EXPECT_TRUE(page.contains(">" + shown.toHtmlEscaped().toUtf8() + "<") ||
                        page.contains("title=\"" + shown.toHtmlEscaped().toUtf8() + "\""))
                << text;
            EXPECT_EQ(shown == QLatin1String(text), row.lang == std::string_view("en")) << text;
        }
        const QString stop = QCoreApplication::translate("WebPage", "Stop");
        EXPECT_TRUE(page.contains("textContent = \"" + stop.toUtf8() + "\";"));
        if (row.lang == std::string_view("en")) {
            EXPECT_TRUE(page.startsWith(english.left(english.indexOf("<title>"))));
            EXPECT_TRUE(page.endsWith(english.mid(data + qsizetype(strlen("/*SHOW*/null")))));
        }
    }
}

// A translation holding markup and a script's line end stays text in the page: escaped in the
// markup, an escaped string in the script.
TEST(DesktopLanguage, TheWebPagesTranslatedTextsAreEscaped) {
    class Hostile : public QTranslator {
      public:
        bool isEmpty() const override { return false; }
        QString translate(const char* context, const char* source, const char*, int) const override {
            return QLatin1String(context) == QLatin1String("WebPage")
                       ? QStringLiteral("</script><b x=\"1\">&\u2028%1").arg(QLatin1String(source))
                       : QString();
        }
    } hostile;
    ASSERT_TRUE(QCoreApplication::installTranslator(&hostile));
    const QByteArray page = sharing::webPageHtml(QStringLiteral("Show"), {}, {});
    QCoreApplication::removeTranslator(&hostile);
    EXPECT_EQ(page.count("</script>"), 1) << "only the page's own";
    EXPECT_FALSE(page.contains("<b ")) << page.toStdString();
    EXPECT_TRUE(page.contains(">&lt;/script&gt;&lt;b x=&quot;1&quot;&gt;&amp;\xe2\x80\xa8Play</button>"));
    EXPECT_TRUE(
        page.contains(R"(textContent = "\u003c/script\u003e\u003cb x=\"1\"\u003e\u0026\u2028Stop";)"));
}

// ---- The catalogues ----

struct Message {
    QString context, source, translation;
    bool finished = true;
};

std::vector<Message> readCatalogue(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    std::vector<Message> messages;
    QString context;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("message")) {
            messages.push_back({context, {}, {}, true});
        } else if (xml.name() == QLatin1String("source")) {
            messages.back().source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            // "unfinished", "obsolete" and "vanished" entries are all work left to do.
            messages.back().finished = !xml.attributes().hasAttribute(QLatin1String("type"));
            messages.back().translation = xml.readElementText();
        }
    }
    EXPECT_FALSE(xml.hasError()) << path.toStdString() << ": " << xml.errorString().toStdString();
    return messages;
}

std::multiset<QString> placeholders(const QString& text) {
    std::multiset<QString> found;
    static const QRegularExpression placeholder(QStringLiteral("%[0-9]"));
    for (const QRegularExpressionMatch& match : placeholder.globalMatch(text))
        found.insert(match.captured());
    return found;
}

int mnemonics(QString text) {
    return int(text.remove(QLatin1String("&&")).count(QLatin1Char('&')));
}

const char* const Languages[] = {"de", "fr"};

QString cataloguePath(const char* language) {
    return QStringLiteral(VERASCO_SOURCE_DIR "/translations/verasco_%1.ts").arg(QLatin1String(language));
}

TEST(Catalogues, TranslateEveryTextKeepingPlaceholdersAndOneMnemonic) {
    for (const char* language : Languages) {
        const std::vector<Message> messages = readCatalogue(cataloguePath(language));
        EXPECT_GT(messages.size(), 250u) << language;
        for (const Message& m : messages) {
            const std::string where = std::string(language) + " " + m.context.toStdString() + ": " +
                                      m.source.toStdString() + " -> " + m.translation.toStdString();
            EXPECT_TRUE(m.finished) << where;
            EXPECT_FALSE(m.translation.isEmpty()) << where;
            EXPECT_EQ(placeholders(m.translation), placeholders(m.source)) << where;
            EXPECT_EQ(mnemonics(m.translation), mnemonics(m.source)) << where;
        }
    }
}

std::set<std::pair<QString, QString>> keys(const std::vector<Message>& messages) {
    std::set<std::pair<QString, QString>> found;
    for (const Message& m : messages)
        found.insert({m.context, m.source});
    return found;
}

std::string listed(const std::set<std::pair<QString, QString>>& entries) {
    std::string text;
    for (const auto& [context, source] : entries)
        text += "\n  " + context.toStdString() + ": " + source.toStdString();
    return text;
}

// lupdate reads the sources as the catalogues were made from them; a text marked since, or one gone
// from the sources, shows as a difference.
TEST(Catalogues, HoldExactlyTheTextsMarkedInTheSources) {
    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());
    const QString fresh = work.filePath(QStringLiteral("fresh.ts"));
    QProcess lupdate;
    lupdate.setWorkingDirectory(QStringLiteral(VERASCO_SOURCE_DIR));
    QStringList arguments{QStringLiteral("-locations"), QStringLiteral("none"), QStringLiteral("-silent")};
    for (const QString& folder : QStringLiteral(VERASCO_TRANSLATED_FOLDERS).split(QLatin1Char(',')))
        if (QFile::exists(QStringLiteral(VERASCO_SOURCE_DIR "/") + folder))
            arguments << folder;
    lupdate.start(QStringLiteral(VERASCO_LUPDATE), arguments << QStringLiteral("-ts") << fresh);
    ASSERT_TRUE(lupdate.waitForFinished(-1));
    ASSERT_EQ(lupdate.exitCode(), 0) << lupdate.readAllStandardError().toStdString();
    EXPECT_TRUE(lupdate.readAllStandardError().isEmpty());
    const auto marked = keys(readCatalogue(fresh));
    for (const char* language : Languages) {
        const auto held = keys(readCatalogue(cataloguePath(language)));
        std::set<std::pair<QString, QString>> missing, stale;
        std::set_difference(marked.begin(), marked.end(), held.begin(), held.end(),
                            std::inserter(missing, missing.end()));
        std::set_difference(held.begin(), held.end(), marked.begin(), marked.end(),
                            std::inserter(stale, stale.end()));
        EXPECT_TRUE(missing.empty()) << language << " lacks" << listed(missing);
        EXPECT_TRUE(stale.empty()) << language << " holds texts no longer in the sources" << listed(stale);
    }
}

// ---- Every window under a catalogue ----

using Texts = std::map<std::string, QString>;

void addText(Texts& texts, const std::string& key, const QString& text) {
    if (!text.isEmpty())
        texts[key] = text;
}

// The texts a person reads or hears of one object, each under a key naming the object by its place.
void collectOwn(QObject* object, const std::string& key, Texts& texts) {
    if (auto* widget = qobject_cast<QWidget*>(object)) {
        if (widget->isWindow())
            addText(texts, key + " title", widget->windowTitle());
        addText(texts, key + " tip", widget->toolTip());
        addText(texts, key + " name", widget->accessibleName());
    }
    if (auto* button = qobject_cast<QAbstractButton*>(object))
        addText(texts, key + " text", button->text());
    if (auto* label = qobject_cast<QLabel*>(object))
        addText(texts, key + " text", label->text());
    if (auto* group = qobject_cast<QGroupBox*>(object))
        addText(texts, key + " title", group->title());
    if (auto* menu = qobject_cast<QMenu*>(object))
        addText(texts, key + " title", menu->title());
    if (auto* line = qobject_cast<QLineEdit*>(object))
        addText(texts, key + " placeholder", line->placeholderText());
    if (auto* memo = qobject_cast<QPlainTextEdit*>(object))
        addText(texts, key + " placeholder", memo->placeholderText());
    if (auto* combo = qobject_cast<QComboBox*>(object))
        for (int i = 0; i < combo->count(); ++i)
            addText(texts, key + " item " + std::to_string(i), combo->itemText(i));
    if (auto* tabs = qobject_cast<QTabBar*>(object))
        for (int i = 0; i < tabs->count(); ++i)
            addText(texts, key + " tab " + std::to_string(i), tabs->tabText(i));
    if (auto* action = qobject_cast<QAction*>(object)) {
        addText(texts, key + " text", action->text());
        addText(texts, key + " tip", action->toolTip());
        addText(texts, key + " status", action->statusTip());
    }
}

void collect(QObject* object, const std::string& key, Texts& texts) {
    collectOwn(object, key, texts);
    int index = 0;
    for (QObject* child : object->children())
        collect(child,
                key + "/" + child->metaObject()->className() + ":" + child->objectName().toStdString() + "#" +
                    std::to_string(index++),
                texts);
}

QChar mnemonic(const QString& text) {
    const qsizetype at =
        QString(text).replace(QLatin1String("&&"), QLatin1String("__")).indexOf(QLatin1Char('&'));
    return at >= 0 && at + 1 < text.size() ? text[at + 1].toLower() : QChar();
}

// How many of the keys one Alt+letter or one letter reaches in each window and each menu are taken
// twice: the buttons and labels of a window with its menu bar's titles, the items of a menu.
std::map<std::string, int> mnemonicClashes(QWidget* root) {
    std::map<QObject*, std::vector<QChar>> groups;
    const auto add = [&groups](QObject* group, const QString& text) {
        if (const QChar key = mnemonic(text); !key.isNull())
            groups[group].push_back(key);
    };
    for (QWidget* widget : root->findChildren<QWidget*>()) {
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            add(widget->window(), button->text());
        if (auto* label = qobject_cast<QLabel*>(widget))
            add(widget->window(), label->text());
        if (auto* bar = qobject_cast<QMenuBar*>(widget))
            for (const QAction* action : bar->actions())
                add(widget->window(), action->text());
        if (auto* menu = qobject_cast<QMenu*>(widget))
            for (const QAction* action : menu->actions())
                add(menu, action->text());
    }
    std::map<std::string, int> clashes;
    for (auto& [group, keys] : groups) {
        std::sort(keys.begin(), keys.end());
        clashes[group->objectName().toStdString()] =
            int(keys.size() - std::distance(keys.begin(), std::unique(keys.begin(), keys.end())));
    }
    return clashes;
}

struct Reading {
    Texts texts;
    std::map<std::string, int> clashes;
};

Reading everyWindow(const char* language) {
    const ProgramTranslations translations{QString::fromLatin1(language)};
    const std::unique_ptr<AppWindows> windows(createAppWindows());
    Reading reading;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (!window->objectName().isEmpty() && !window->parentWidget()) {
            collect(window, window->objectName().toStdString(), reading.texts);
            reading.clashes.merge(mnemonicClashes(window));
        }
    return reading;
}

// Texts the same in a language as in English: names, symbols and words the languages share.
const std::set<QString> SameInEveryLanguage = {
    QStringLiteral("Morvant Verasco"),
    QStringLiteral("<b>Morvant Verasco</b>"),
    QStringLiteral("Copyright \u00a9 Morvant Imaging"),
    QStringLiteral("Verasc&o"),
    QStringLiteral("&Verasco"),
    QStringLiteral("Verasco"),
    QStringLiteral("OK"),
    QStringLiteral("&OK"),
    QStringLiteral("Windows"),
    QStringLiteral("Linux"),
};
const std::map<std::string, std::set<QString>> SameInOneLanguage = {
    {"de", {QStringLiteral("&Verasco:"), QStringLiteral("System"), QStringLiteral("Format:")}},
    {"fr", {QStringLiteral("&Image"), QStringLiteral("Image"), QStringLiteral("&Image 1")}},
};

bool sameByNature(const char* language, const QString& text) {
    if (SameInOneLanguage.at(language).count(text))
        return true;
    static const QRegularExpression words(QStringLiteral("[A-Za-z]{2}"));
    static const QRegularExpression link(QStringLiteral("^<a href=\"[^\"]*\">[^<]*</a>$"));
    return SameInEveryLanguage.count(text) || !words.match(text).hasMatch() || link.match(text).hasMatch() ||
           text.startsWith(QLatin1String("Version "));
}

// Under a catalogue, no text of any window stays English, and in every language each key of a window
// or a menu reaches one control or item (in English the main window's "&Verasco:" and "&View" have
// always shared theirs, the Edit menu's "Cu&t", "&Tap Times to Music..." and "Insert &Title..." share
// theirs, and so do Image Properties' "&Text Properties" and "&Title slide").
TEST(EveryWindow, ReadsNoUntranslatedTextUnderACatalogue) {
    const Reading english = everyWindow("");
    ASSERT_GT(english.texts.size(), 150u);
    const std::map<std::string, int> shared = {{"MainFormverasco", 1}, {"EditMenu", 2}, {"textdlg", 1}};
    for (const auto& [group, clashes] : english.clashes)
        EXPECT_EQ(clashes, shared.count(group) ? shared.at(group) : 0) << "en " << group;
    for (const char* language : Languages) {
        const Reading translated = everyWindow(language);
        std::string untranslated;
        for (const auto& [key, text] : translated.texts) {
            const auto found = english.texts.find(key);
            if (found != english.texts.end() && found->second == text && !sameByNature(language, text))
                untranslated += "\n  " + key + ": " + text.toStdString();
        }
        EXPECT_TRUE(untranslated.empty()) << language << untranslated;
        for (const auto& [group, clashes] : translated.clashes)
            EXPECT_EQ(clashes, 0) << language << " " << group;
    }
}

} // namespace
