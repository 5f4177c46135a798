#include "support/qt/TScriptedPrompts.h"

#include <memory>

namespace norvale::test {

TScriptedPromptsScope::TScriptedPromptsScope() {
    auto prompts = std::make_unique<TScriptedPrompts>();
    prompts_ = prompts.get();
    TPrompts::SetHandler(std::move(prompts));
}

TScriptedPromptsScope::~TScriptedPromptsScope() { TPrompts::SetHandler(nullptr); }

}  // namespace norvale::test
