#include "CliCommand.h"

namespace Quorvia::cli {

const std::vector<Command>& commands()
{
    // New commands (call, download, upload, import, export) are added here.
    static const std::vector<Command> list = {
        {"xls2csv", "FILE [--sheet N|NAME] [--list] [--encoding NAME]",
         "write a worksheet of an .xls workbook as CSV to standard output", &runXls2Csv},
        {"call", "METHOD [JSON] [--timeout MS]",
         "send one signed open-API call with the seller's login and print the answer", &runCall},
    };
    return list;
}

const Command* findCommand(const QString& name)
{
    for (const Command& c : commands()) {
        if (name == QLatin1String(c.name))
            return &c;
    }
    return nullptr;
}

void writeText(QIODevice& device, const QString& text)
{
    device.write(text.toUtf8());
}

} // namespace Quorvia::cli
