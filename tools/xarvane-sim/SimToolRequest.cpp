#include "SimToolRequest.h"

#include <QMap>
#include <QRegularExpression>

#include <limits>

namespace xr::tools {

namespace {

using Command = SimToolRequest::Command;

struct CommandSyntax {
    QString name;
    Command command;
    int names;           // how many entry names follow the command
    QStringList options; // options with a value that the command takes
};

const QList<CommandSyntax>& commands()
{
    static const QList<CommandSyntax> list = {
        {QStringLiteral("entries"), Command::Entries, 0, {}},
        {QStringLiteral("add-entry"),
         Command::AddEntry,
         1,
         {QStringLiteral("user"), QStringLiteral("password"), QStringLiteral("phone"),
          QStringLiteral("dial-ms"), QStringLiteral("fail")}},
        {QStringLiteral("remove-entry"), Command::RemoveEntry, 1, {}},
        {QStringLiteral("fail-next"), Command::FailNext, 1, {QStringLiteral("code")}},
        {QStringLiteral("connect"), Command::Connect, 1, {QStringLiteral("ip")}},
        {QStringLiteral("disconnect"), Command::Disconnect, 1, {}},
        {QStringLiteral("traffic"), Command::Traffic, 1, {QStringLiteral("rx"), QStringLiteral("tx")}},
        {QStringLiteral("status"), Command::Status, 0, {}},
    };
    return list;
}

const CommandSyntax* findCommand(const QString& name)
{
    for (const CommandSyntax& syntax : commands())
        if (syntax.name == name)
            return &syntax;
    return nullptr;
}

// The command line split into options (name → value; flags have an empty value) and words.
struct SplitArguments {
    QMap<QString, QString> options;
    QStringList words;
};

bool takesValue(const QString& option)
{
    return option != QLatin1String("all") && option != QLatin1String("help");
}

bool split(const QStringList& arguments, SplitArguments& split, QString& error)
{
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("-h")) {
            split.options.insert(QStringLiteral("help"), {});
            continue;
        }
        if (!argument.startsWith(QLatin1String("--"))) {
            split.words.append(argument);
            continue;
        }
        QString name = argument.mid(2);
        QString value;
        if (const qsizetype equals = name.indexOf(QLatin1Char('=')); equals >= 0) {
            value = name.mid(equals + 1);
            name.truncate(equals);
        } else if (takesValue(name)) {
            if (i + 1 >= arguments.size()) {
                error = QStringLiteral("option --%1 needs a value").arg(name);
                return false;
            }
            value = arguments[++i];
        }
        if (split.options.contains(name)) {
            error = QStringLiteral("option --%1 given twice").arg(name);
            return false;
        }
        split.options.insert(name, value);
    }
    return true;
}

bool plainText(const QString& value, const QString& what, qsizetype maxLength, QString& error)
{
    static const QRegularExpression control(QStringLiteral("[\\x00-\\x1f\\x7f]"));
    if (value.size() > maxLength)
        error = QStringLiteral("%1 is longer than %2 characters").arg(what).arg(maxLength);
    else if (value.contains(control))
        error = QStringLiteral("%1 contains control characters").arg(what);
    return error.isEmpty();
}

template <typename Number>
bool unsignedNumber(const QString& value, const QString& what, std::uint64_t max, Number& number, QString& error)
{
    bool ok = false;
    const qulonglong parsed = value.toULongLong(&ok, 10);
    if (!ok || parsed > max || value.startsWith(QLatin1Char('+'))) {
        error = QStringLiteral("%1 must be a whole number from 0 to %2").arg(what).arg(max);
        return false;
    }
    number = static_cast<Number>(parsed);
    return true;
}

bool dottedAddress(const QString& value, QString& error)
{
    static const QRegularExpression pattern(
        QStringLiteral("^(\\d{1,3})\\.(\\d{1,3})\\.(\\d{1,3})\\.(\\d{1,3})$"));
    const QRegularExpressionMatch match = pattern.match(value);
    bool valid = match.hasMatch();
    for (int part = 1; valid && part <= 4; ++part)
        valid = match.captured(part).toInt() <= 255;
    if (!valid)
        error = QStringLiteral("--ip must be an address A.B.C.D, each part 0 to 255");
    return valid;
}

// Fills the request's entry from add-entry's options.
bool readEntryOptions(const QMap<QString, QString>& options, platform::SimEntry& entry, QString& error)
{
    const QString user = options.value(QStringLiteral("user"));
    const QString password = options.value(QStringLiteral("password"));
    const QString phone = options.value(QStringLiteral("phone"));
    if (!plainText(user, QStringLiteral("--user"), 256, error) ||
        !plainText(password, QStringLiteral("--password"), 256, error) ||
        !plainText(phone, QStringLiteral("--phone"), 128, error))
        return false;
    entry.userName = user.toStdString();
    entry.password = password.toStdString();
    entry.phoneNumber = phone.toStdString();
    if (options.contains(QStringLiteral("dial-ms")) &&
        !unsignedNumber(options.value(QStringLiteral("dial-ms")), QStringLiteral("--dial-ms"), 3600000,
                        entry.dialMs, error))
        return false;
    return !options.contains(QStringLiteral("fail")) ||
           unsignedNumber(options.value(QStringLiteral("fail")), QStringLiteral("--fail"),
                          std::numeric_limits<std::uint32_t>::max(), entry.failCode, error);
}

// fail-next's --code, which it cannot do without.
bool readFailNextCode(const QMap<QString, QString>& options, platform::SimEntry& entry, QString& error)
{
    if (!options.contains(QStringLiteral("code"))) {
        error = QStringLiteral("fail-next needs --code CODE");
        return false;
    }
    return unsignedNumber(options.value(QStringLiteral("code")), QStringLiteral("--code"),
                          std::numeric_limits<std::uint32_t>::max(), entry.failNextCode, error);
}

// traffic's --rx and --tx, bytes to add (either may be left out; 0 is added then). A day of a fast
// line is far below the bound, which keeps the sum exact.
bool readTraffic(const QMap<QString, QString>& options, platform::ByteCounts& traffic, QString& error)
{
    constexpr std::uint64_t kMostBytes = 1ULL << 50;
    return unsignedNumber(options.value(QStringLiteral("rx"), QStringLiteral("0")), QStringLiteral("--rx"), kMostBytes,
                          traffic.received, error) &&
           unsignedNumber(options.value(QStringLiteral("tx"), QStringLiteral("0")), QStringLiteral("--tx"), kMostBytes,
                          traffic.sent, error);
}

// Checks that the options and the number of names fit the command.
bool checkShape(const CommandSyntax& syntax, const SplitArguments& split, bool all, QString& error)
{
    for (auto it = split.options.begin(); it != split.options.end(); ++it) {
        const bool allowed = it.key() == QLatin1String("state") || syntax.options.contains(it.key()) ||
                             (it.key() == QLatin1String("all") && syntax.command == Command::Disconnect);
        if (!allowed) {
            error = QStringLiteral("%1 does not take --%2").arg(syntax.name, it.key());
            return false;
        }
        if (!takesValue(it.key()) && !it.value().isEmpty()) {
            error = QStringLiteral("--%1 takes no value").arg(it.key());
            return false;
        }
    }
    const int names = all ? 0 : syntax.names;
    if (split.words.size() - 1 != names) {
        error = names == 0 ? QStringLiteral("%1 takes no entry name").arg(syntax.name)
                           : QStringLiteral("%1 needs one entry name").arg(syntax.name);
        if (syntax.command == Command::Disconnect)
            error = QStringLiteral("disconnect needs one entry name or --all");
        return false;
    }
    return true;
}

} // namespace

bool SimToolRequest::parse(const QStringList& arguments, SimToolRequest& request, QString& error)
{
    SplitArguments parts;
    if (!split(arguments, parts, error))
        return false;
    request = SimToolRequest();
    request.statePath = parts.options.value(QStringLiteral("state"));
    if (parts.options.contains(QStringLiteral("state")) && request.statePath.isEmpty()) {
        error = QStringLiteral("--state needs a file name");
        return false;
    }
    if (parts.options.contains(QStringLiteral("help")))
        return true;
    if (parts.words.isEmpty()) {
        error = QStringLiteral("no command given");
        return false;
    }
    const CommandSyntax* syntax = findCommand(parts.words.front());
    if (!syntax) {
        error = QStringLiteral("unknown command '%1'").arg(parts.words.front());
        return false;
    }
    request.command = syntax->command;
    request.all = parts.options.contains(QStringLiteral("all"));
    if (!checkShape(*syntax, parts, request.all, error))
        return false;
    if (parts.words.size() > 1) {
        const QString name = parts.words[1];
        if (name.isEmpty()) {
            error = QStringLiteral("the entry name is empty");
            return false;
        }
        if (!plainText(name, QStringLiteral("the entry name"), 256, error))
            return false;
        request.entry.name = name.toStdString();
    }
    request.ip = parts.options.value(QStringLiteral("ip"));
    if (parts.options.contains(QStringLiteral("ip")) && !dottedAddress(request.ip, error))
        return false;
    if (syntax->command == Command::FailNext)
        return readFailNextCode(parts.options, request.entry, error);
    if (syntax->command == Command::Traffic)
        return readTraffic(parts.options, request.traffic, error);
    return syntax->command != Command::AddEntry || readEntryOptions(parts.options, request.entry, error);
}

QString SimToolRequest::usage()
{
    return QStringLiteral(
        "Usage: xarvane-sim [--state FILE] COMMAND [ARGUMENTS]\n"
        "\n"
        "Drives the simulated dial-up service that Xarvane uses when XARVANE_RAS is sim (the default).\n"
        "\n"
        "Commands:\n"
        "  entries                   list the phonebook, one entry a line:\n"
        "                            NAME<TAB>USER<TAB>PASSWORD<TAB>PHONE<TAB>DIAL_MS<TAB>FAIL\n"
        "  add-entry NAME [--user U] [--password P] [--phone N] [--dial-ms MS] [--fail CODE]\n"
        "                            add a phonebook entry, or replace the entry of that name;\n"
        "                            a dial takes MS milliseconds (default 2000), and with\n"
        "                            CODE other than 0 every dial of it fails with that error\n"
        "                            code (for example 691, 619, 678)\n"
        "  remove-entry NAME         remove a phonebook entry (its connections stay up)\n"
        "  fail-next NAME --code CODE\n"
        "                            make only the next dial of the entry fail with the error\n"
        "                            code CODE (a code without a text, such as 1000, too);\n"
        "                            CODE 0 takes the request back\n"
        "  connect NAME [--ip A.B.C.D]\n"
        "                            connect the entry at once, as if dialled outside Xarvane;\n"
        "                            prints the new connection's handle; without --ip an\n"
        "                            address 10.x.y.z is assigned\n"
        "  disconnect NAME           end the entry's connection, or its dial in progress\n"
        "  disconnect --all          end every connection and dial\n"
        "  traffic NAME [--rx BYTES] [--tx BYTES]\n"
        "                            add to the bytes the entry's connection has received\n"
        "                            and sent, as its interface's counters would count them\n"
        "  status                    list the connections, one a line:\n"
        "                            HANDLE<TAB>ENTRY<TAB>STATE<TAB>IP<TAB>RX<TAB>TX\n"
        "                            STATE is open-port, port-opened, connect-device,\n"
        "                            device-connected, all-devices-connected, authenticate,\n"
        "                            authenticated or connected; IP is - until connected;\n"
        "                            RX and TX are the bytes received and sent\n"
        "\n"
        "Options:\n"
        "  --state FILE              the state file; by default $XARVANE_SIM_STATE, or else\n"
        "                            SimRas.json in the data folder\n"
        "  -h, --help                show this help\n"
        "\n"
        "Exit status: 0 done, 1 the operation failed, 2 bad arguments.\n");
}

} // namespace xr::tools
