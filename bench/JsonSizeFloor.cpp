// The size floor for the shipped program: the least a program does with
// JsonCpp (parse a text, read one member), built and stripped as kalvex.exe
// is. Its size is what the static runtime and JsonCpp alone cost, before any
// line of the uninstaller or the toolkit.
#include <json/json.h>

#include <cstdio>
#include <memory>
#include <string>

int main(int argc, char** argv)
{
    const std::string text = argc > 1 ? argv[1] : "{\"name\":\"velko\"}";
    Json::CharReaderBuilder builder;
    const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    Json::Value root;
    std::string errors;
    if (!reader->parse(text.data(), text.data() + text.size(), &root, &errors) || !root.isObject())
        return 1;
    std::printf("%s\n", root["name"].asString().c_str());
    return 0;
}
