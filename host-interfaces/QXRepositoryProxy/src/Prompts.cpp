#include "QXRepositoryProxy/Prompts.h"

#include "TevArray.h"

namespace {

struct Prompt {
    TevString m_section;
    int m_number = 0;
    TevString m_text;
};

// The prompt catalogue, built with the texts the application ships on first use.
TevArray<Prompt>& catalogue() {
    static TevArray<Prompt> prompts = [] {
        TevArray<Prompt> shipped;
        shipped.append(Prompt{u"GUI", 45033, u"Checking derived documents"});
        return shipped;
    }();
    return prompts;
}

Prompt* findPrompt(const TevString& section, int number) {
    for (Prompt& prompt : catalogue()) {
        if (prompt.m_number == number && prompt.m_section == section) {
            return &prompt;
        }
    }
    return nullptr;
}

} // namespace

TevString Prompts::getPrompt(const TevString& section, int number) {
    const Prompt* prompt = findPrompt(section, number);
    return prompt != nullptr ? prompt->m_text : TevString();
}

void Prompts::setPrompt(const TevString& section, int number, const TevString& text) {
    if (Prompt* prompt = findPrompt(section, number)) {
        prompt->m_text = text;
        return;
    }
    catalogue().append(Prompt{section, number, text});
}
