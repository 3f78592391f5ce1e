#pragma once

// Texts in the user's language. The English texts in the code are the source texts; a text
// with no translation loaded stays as it stands. lupdate finds Tr's texts as translate()'s.

#include <initializer_list>
#include <string>

#include <QtGlobal> // QT_TRANSLATE_NOOP for tables of texts translated where they are shown

namespace platform {

std::string Tr(const char* context, const char* text);

// Installs the program's translation for the user's language from `directory` (quillftp_de.qm
// and the like) and Qt's own for its dialogs' buttons; English stays where there is none.
// Returns whether the program's own was found.
bool LoadTranslations(const std::string& directory);

// `text` with %1 to %9 replaced by `args`, in one pass: an argument that holds "%2" stays as
// it is. A translation may put the arguments in another order.
std::string Fill(const std::string& text, std::initializer_list<std::string> args);

} // namespace platform
