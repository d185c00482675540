#pragma once
// A small streaming JSON writer for the dump mode: exact floats, safe strings.

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

class TJsonWriter {
public:
    explicit TJsonWriter(std::FILE* out) : Out(out) {}

    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();
    void Key(std::string_view name);
    void Int(std::int64_t value);
    void Float(float value);
    void Bool(bool value);
    void String(std::string_view text);

    // A member of the open object: its name and its value.
    void IntField(std::string_view name, std::int64_t value);
    void FloatField(std::string_view name, float value);
    void BoolField(std::string_view name, bool value);
    void StringField(std::string_view name, std::string_view text);

    // Text in the file's own bytes becomes valid JSON: UTF-8 passes, other bytes read as Latin-1.
    static std::string Escape(std::string_view text);

private:
    void BeforeValue();

    std::FILE* Out;
    // One entry per open object or array: true once it holds a member.
    std::vector<bool> HasMembers;
    bool AfterKey = false;
};
