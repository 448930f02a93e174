#pragma once
// Message boxes on screen, captioned with the application title, and file dialogs.

#include "common/Prompter.h"

namespace xr {

class MessageBoxPrompter final : public Prompter {
public:
    PromptAnswer ask(PromptKind kind, const QString& text, PromptButtons buttons) override;
    FileChoice chooseFile(const FileRequest& request) override;
};

} // namespace xr
