#pragma once
// Message boxes for unattended runs (XARVANE_PROMPTS=log): each box is written to standard
// error as "prompt: KIND: TEXT" and answered at once, OK or Yes.

#include "common/Prompter.h"

namespace xr {

class LoggingPrompter final : public Prompter {
public:
    PromptAnswer ask(PromptKind kind, const QString& text, PromptButtons buttons) override;
    // Written as "prompt: file: TITLE: PROPOSED" and answered with the proposed file.
    FileChoice chooseFile(const FileRequest& request) override;
};

} // namespace xr
