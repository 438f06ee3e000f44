// AmiMessage: the message text of one model instance, in a character array
// reserved once with the instance. AMI_Init hands its address to the
// simulator, which may keep that pointer and read it at any time until
// AMI_Close; a growable string would move its characters when a later call
// appends, leaving the simulator with freed memory. Here later messages are
// written in place after the earlier ones, so the published text stays
// where it is and stays NUL-terminated, and a text that no longer fits is
// dropped whole rather than cut.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>

class AmiMessage {
public:
    // A model whose every call fails would otherwise grow its message by a
    // line per AMI_GetWave call for the whole simulation.
    static constexpr std::size_t kCapacity = 65536;

    AmiMessage() { text_[0] = '\0'; }
    AmiMessage(const AmiMessage&) = delete;
    AmiMessage& operator=(const AmiMessage&) = delete;

    // Appends text whole, or not at all when it would pass kCapacity.
    void Append(const std::string& text)
    {
        if (text.size() > kCapacity - size_) return;
        std::memcpy(text_ + size_, text.data(), text.size());
        size_ += text.size();
        text_[size_] = '\0';
    }

    const char* c_str() const { return text_; }
    char* data() { return text_; }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    std::string str() const { return std::string(text_, size_); }

private:
    std::size_t size_ = 0;
    char text_[kCapacity + 1];
};
