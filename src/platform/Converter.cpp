#include "platform/Converter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

#include "text/Messages.h"

namespace lv::platform {

namespace {

QString Path(const std::string& s) {
    return QFile::decodeName(QByteArray::fromStdString(s));
}

std::string FindProgram(std::initializer_list<const char*> names) {
    for (const char* n : names) {
        const QString found = QStandardPaths::findExecutable(QString::fromLatin1(n));
        if (!found.isEmpty()) return QFile::encodeName(found).toStdString();
    }
    return {};
}

// Runs a program to its end; true when it exited normally with code 0.
bool RunToEnd(const QString& program, const QStringList& args, int timeoutMs) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.setStandardInputFile(QProcess::nullDevice());
    p.start(program, args);
    if (!p.waitForStarted(30000)) return false;
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished(5000);
        return false;
    }
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// Replaces target by source (a finished conversion result).
bool MoveOver(const QString& source, const QString& target) {
    QFile::remove(target);
    if (QFile::rename(source, target)) return true;
    const bool copied = QFile::copy(source, target);
    QFile::remove(source);
    return copied;
}

} // namespace

TSystemOfficeConverter::TSystemOfficeConverter(const std::string& language,
                                               const std::string& profileDir)
    : ProfileDir(profileDir) {
    Soffice = FindProgram({"soffice", "libreoffice"});
    Pandoc = FindProgram({"pandoc"});
    const bool de = IsGerman(language);
    auto add = [&](const char* deText, const char* enText, const char* patterns, bool pandoc,
                   const char* format) {
        Entries.push_back({{de ? deText : enText, patterns}, pandoc, format});
    };
    if (HasLibreOffice()) {
        add("Word-Dokument (LibreOffice)", "Word Document (LibreOffice)", "*.doc;*.docx", false,
            "");
        add("OpenDocument-Text (LibreOffice)", "OpenDocument Text (LibreOffice)", "*.odt;*.sxw",
            false, "");
        add("WordPerfect/Works-Dokument (LibreOffice)", "WordPerfect/Works Document (LibreOffice)",
            "*.wpd;*.wps", false, "");
        add("HTML-Dokument (LibreOffice)", "HTML Document (LibreOffice)", "*.htm;*.html", false,
            "");
    }
    if (HasPandoc()) {
        add("Word-Dokument (pandoc)", "Word Document (pandoc)", "*.docx", true, "docx");
        add("OpenDocument-Text (pandoc)", "OpenDocument Text (pandoc)", "*.odt", true, "odt");
        add("EPUB-Dokument (pandoc)", "EPUB Document (pandoc)", "*.epub", true, "epub");
        add("HTML-Dokument (pandoc)", "HTML Document (pandoc)", "*.htm;*.html", true, "html");
    }
}

std::vector<TConverterFilter> TSystemOfficeConverter::ImportFilters() const {
    std::vector<TConverterFilter> out;
    for (const TEntry& e : Entries)
        out.push_back(e.Filter);
    return out;
}

bool TSystemOfficeConverter::ImportToRtf(int converterNumber, const std::string& source,
                                         const std::string& rtfTarget) {
    if (converterNumber < 0 || converterNumber >= int(Entries.size())) return false;
    if (!QFileInfo(Path(source)).isFile()) return false;
    const TEntry& e = Entries[std::size_t(converterNumber)];
    return e.UsesPandoc ? RunPandoc(e.PandocFormat, source, rtfTarget)
                        : RunLibreOffice(source, rtfTarget);
}

bool TSystemOfficeConverter::RunLibreOffice(const std::string& source,
                                            const std::string& rtfTarget) {
    QTemporaryDir out;
    if (!out.isValid()) return false;
    QString profile = Path(ProfileDir);
    if (profile.isEmpty())
        profile = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
                  QStringLiteral("/lyrivox/libreoffice-profile");
    QDir().mkpath(profile);
    const QStringList args = {QStringLiteral("-env:UserInstallation=") +
                                  QUrl::fromLocalFile(profile).toString(),
                              QStringLiteral("--headless"),
                              QStringLiteral("--norestore"),
                              QStringLiteral("--convert-to"),
                              QStringLiteral("rtf"),
                              QStringLiteral("--outdir"),
                              out.path(),
                              Path(source)};
    if (!RunToEnd(Path(Soffice), args, TimeoutMs)) return false;
    // LibreOffice names the result after the source and reports success even
    // when it could not read the document, so the result file decides.
    const QString result = out.filePath(QFileInfo(Path(source)).completeBaseName() + ".rtf");
    if (!QFileInfo(result).isFile() || QFileInfo(result).size() == 0) return false;
    return MoveOver(result, Path(rtfTarget));
}

bool TSystemOfficeConverter::RunPandoc(const std::string& format, const std::string& source,
                                       const std::string& rtfTarget) {
    QTemporaryDir out;
    if (!out.isValid()) return false;
    const QString result = out.filePath(QStringLiteral("result.rtf"));
    const QStringList args = {QStringLiteral("-f"),
                              QString::fromStdString(format),
                              QStringLiteral("-t"),
                              QStringLiteral("rtf"),
                              QStringLiteral("-s"),
                              QStringLiteral("-o"),
                              result,
                              Path(source)};
    if (!RunToEnd(Path(Pandoc), args, TimeoutMs)) return false;
    if (!QFileInfo(result).isFile()) return false;
    return MoveOver(result, Path(rtfTarget));
}

std::string ConverterTempFolder() {
    const QString appDir =
        QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
    if (!appDir.isEmpty() && QFileInfo(appDir).isWritable())
        return QFile::encodeName(appDir).toStdString();
    return QFile::encodeName(QStandardPaths::writableLocation(QStandardPaths::TempLocation))
        .toStdString();
}

} // namespace lv::platform
