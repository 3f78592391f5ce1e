#include "platform/Translate.h"

#include <vector>

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace platform {

std::string Tr(const char* context, const char* text)
{
    return QCoreApplication::translate(context, text).toStdString();
}

bool LoadTranslations(const std::string& directory)
{
    QCoreApplication* application = QCoreApplication::instance();
    if (!application)
        return false;
    auto install = [application](const QString& name, const QString& from) {
        auto* translator = new QTranslator(application);
        if (translator->load(QLocale(), name, "_", from) && QCoreApplication::installTranslator(translator))
            return true;
        delete translator;
        return false;
    };
    install("qtbase", QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    return install("quillftp", QString::fromStdString(directory));
}

std::string Fill(const std::string& text, std::initializer_list<std::string> args)
{
    std::vector<const std::string*> numbered;
    for (const std::string& arg : args)
        numbered.push_back(&arg);
    std::string out;
    out.reserve(text.size());
    for (size_t k = 0; k < text.size(); ++k) {
        if (text[k] == '%' && k + 1 < text.size() && text[k + 1] >= '1' && text[k + 1] <= '9') {
            size_t index = static_cast<size_t>(text[k + 1] - '1');
            if (index < numbered.size()) {
                out += *numbered[index];
                ++k;
                continue;
            }
        }
        out += text[k];
    }
    return out;
}

} // namespace platform
