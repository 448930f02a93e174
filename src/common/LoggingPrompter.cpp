#include "common/LoggingPrompter.h"

#include <cstdio>

namespace xr {

namespace {
const char* kindName(PromptKind kind)
{
    switch (kind) {
    case PromptKind::Information:
        return "information";
    case PromptKind::Warning:
        return "warning";
    case PromptKind::Error:
        return "error";
    case PromptKind::Confirmation:
        return "confirmation";
    case PromptKind::Plain:
        return "plain";
    }
    return "?";
}
} // namespace

PromptAnswer LoggingPrompter::ask(PromptKind kind, const QString& text, PromptButtons buttons)
{
    QString line = text;
    line.replace(QLatin1Char('\r'), QStringLiteral("\\r"));
    std::fprintf(stderr, "prompt: %s: %s\n", kindName(kind), line.toUtf8().constData());
    std::fflush(stderr);
    return buttons == PromptButtons::Ok ? PromptAnswer::Ok : PromptAnswer::Yes;
}

} // namespace xr
