#pragma once
// A text holder that keeps the log text in memory, for tests and benchmarks.
// It counts the writes so callers can check that a rule left the text alone.

#include <string>
#include <string_view>
#include <utility>

#include "log/TextHolder.h"

class MemoryTextHolder final : public TextHolder {
public:
    MemoryTextHolder() = default;
    explicit MemoryTextHolder(std::string text) : m_text(std::move(text)) {}

    std::string_view Text() const override { return m_text; }

    void ReplaceAll(std::string_view text) override
    {
        m_text.assign(text.data(), text.size());
        ++m_replaceAllCalls;
    }

    void AppendAtEnd(std::string_view text) override
    {
        m_text.append(text.data(), text.size());
        ++m_appendAtEndCalls;
        m_modified = true;
    }

    const std::string& Str() const { return m_text; }
    int ReplaceAllCalls() const { return m_replaceAllCalls; }
    int AppendAtEndCalls() const { return m_appendAtEndCalls; }
    int Writes() const { return m_replaceAllCalls + m_appendAtEndCalls; }
    bool Modified() const { return m_modified; }

private:
    std::string m_text;
    int m_replaceAllCalls = 0;
    int m_appendAtEndCalls = 0;
    bool m_modified = false;
};
