// The lines of the rejoin script that cmd and COMMAND.COM read, each written for the interpreters that run it.
#include "split/BatchLines.h"

#include <algorithm>

void BatchLines::command(const std::string& text)
{
    line(text);
    m_longestCommand = std::max(m_longestCommand, text.size());
}

void BatchLines::saying(const std::string& label, const std::string& text, const std::string& next)
{
    line(":" + label);
    echo(text);
    if (!next.empty())
        line(next);
}

void BatchLines::exitBlock(const std::string& label, std::initializer_list<std::string> lines, const std::string& next)
{
    if (!label.empty())
        line(":" + label);
    for (const std::string& text : lines)
        line(text);
    line("echo.");
    line("pause");
    line(next);
}

void BatchLines::append(const BatchLines& other)
{
    m_text += other.m_text;
    m_longestCommand = std::max(m_longestCommand, other.m_longestCommand);
}
