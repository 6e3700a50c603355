#pragma once
// What a document's Serialize reads from or writes to: the whole file as bytes.
// Loading hands over the file's bytes; storing collects the bytes to write.

#include <string>
#include <string_view>
#include <utility>

class Archive {
public:
    enum class Mode { Store, Load };

    static Archive ForStoring() { return Archive(Mode::Store, {}); }
    static Archive ForLoading(std::string bytes) { return Archive(Mode::Load, std::move(bytes)); }

    bool IsStoring() const { return m_mode == Mode::Store; }
    bool IsLoading() const { return m_mode == Mode::Load; }

    // Storing: add bytes to what will be written.
    void Write(std::string_view bytes) { m_bytes.append(bytes); }
    // Loading: the file's bytes. Storing: everything written so far.
    const std::string& Bytes() const { return m_bytes; }

private:
    Archive(Mode mode, std::string bytes) : m_mode(mode), m_bytes(std::move(bytes)) {}

    Mode m_mode;
    std::string m_bytes;
};
