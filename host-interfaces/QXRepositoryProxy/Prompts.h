/// \file
/// The application's localised prompt texts, numbered within named sections. Prompt
/// 45033 of "GUI" names the progress action of the derived-documents check.
#ifndef PROMPTS_H
#define PROMPTS_H

#include "QXRepositoryProxy/QXRepositoryProxyExport.h"
#include "TevString.h"

/// The application's prompt catalogue (see QXRepositoryProxy/Prompts.h).
class QXREPOSITORYPROXY_EXPORT Prompts {
public:
    /// The text of prompt `number` in `section` (section names compare exactly); empty
    /// when there is none.
    static TevString getPrompt(const TevString& section, int number);

    /// Sets or replaces the text of prompt `number` in `section`.
    static void setPrompt(const TevString& section, int number, const TevString& text);
};

#endif // PROMPTS_H
