#pragma once
// The pieces of the JSON messages of tarnwick-grep --json, in the form
// tools that read ripgrep's --json output expect: a text that is valid
// UTF-8 is {"text":"..."}, any other is {"bytes":"<base64>"}.

#include <string>
#include <string_view>

void AppendJsonString(std::string& out, std::string_view utf8);
// {"text":...} or {"bytes":...}
void AppendJsonData(std::string& out, std::string_view bytes);
void AppendBase64(std::string& out, std::string_view bytes);
bool IsValidUtf8(std::string_view bytes);
