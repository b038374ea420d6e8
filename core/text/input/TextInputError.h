#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace velquor::text {

// Why outside text was refused. what() is the message the user sees.
class TextInputError : public std::runtime_error {
public:
    enum class Case { tooLarge, binaryData, invalidUTF8 };

    static TextInputError tooLarge(std::int64_t maxByteCount);
    static TextInputError binaryData(std::string description);
    static TextInputError invalidUTF8();

    Case errorCase() const { return case_; }
    std::int64_t byteLimit() const { return byteLimit_; }                  // tooLarge only
    const std::string& binaryDescription() const { return description_; }  // binaryData only

    friend bool operator==(const TextInputError& a, const TextInputError& b) {
        return a.case_ == b.case_ && a.byteLimit_ == b.byteLimit_ && a.description_ == b.description_;
    }

private:
    TextInputError(Case errorCase, std::int64_t byteLimit, std::string description, const std::string& message);

    Case case_;
    std::int64_t byteLimit_;
    std::string description_;
};

}  // namespace velquor::text
