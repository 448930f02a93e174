#include "app/ProgramLook.h"

#include <QApplication>
#include <QFontDatabase>
#include <QHash>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>

namespace xr {

namespace {

const QString kTitle = QStringLiteral("XarvaneXR");
constexpr int kPointSize = 9;

// Song-style faces first (Windows' own, then what Linux desktops ship), then sans faces.
const QStringList kFaces = {
    QStringLiteral("宋体"),
    QStringLiteral("SimSun"),
    QStringLiteral("NSimSun"),
    QStringLiteral("Noto Serif CJK SC"),
    QStringLiteral("Source Han Serif SC"),
    QStringLiteral("AR PL UMing CN"),
    QStringLiteral("Noto Sans CJK SC"),
    QStringLiteral("WenQuanYi Micro Hei"),
    QStringLiteral("WenQuanYi Zen Hei"),
};

// The texts Qt 6 moved to a context that its Chinese translation does not cover: the type
// column of the file dialogs.
class FileTypeTexts : public QTranslator {
public:
    using QTranslator::QTranslator;

    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* sourceText, const char* /*disambiguation*/,
                      int /*n*/) const override
    {
        static const QHash<QByteArray, QString> texts = {{"Drive", QStringLiteral("驱动器")},
                                                         {"Folder", QStringLiteral("文件夹")},
                                                         {"Unknown", QStringLiteral("未知")}};
        if (qstrcmp(context, "QAbstractFileIconProvider") != 0)
            return {};
        return texts.value(sourceText);
    }
};

void loadQtTranslations(QApplication& app)
{
    QApplication::installTranslator(new FileTypeTexts(&app));
    auto* translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(translator);
        return;
    }
    delete translator;
    std::fprintf(stderr,
                 "Qt's Chinese translations (qtbase_zh_CN.qm) are not installed; Qt's own texts stay in "
                 "English.\n");
}

} // namespace

QFont programFont()
{
    QStringList families;
    for (const QString& face : kFaces)
        if (QFontDatabase::hasFamily(face))
            families.append(face);
    QFont font = QApplication::font();
    families.append(font.family());
    font.setFamilies(families);
    font.setPointSize(kPointSize);
    return font;
}

void applyProgramLook(QApplication& app)
{
    // The name, not the display name: Qt appends a display name to every window title.
    QApplication::setApplicationName(kTitle);
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    loadQtTranslations(app);
    QApplication::setFont(programFont());
}

} // namespace xr
