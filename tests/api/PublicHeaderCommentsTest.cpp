// Counts the declarations of the public headers that lack a comment of their own.
//
// The rule, one line at a time, outside preprocessor lines:
// - A declaration is a statement at file or namespace scope, in the public part of a class or
//   struct (a struct starts public, a class private; "public:", "protected:" and "private:"
//   switch), or an enumerator (each line of an enum's body). Functions, virtual functions,
//   fields, constants, type aliases and class, struct and enum heads all count; a statement
//   continued over several lines counts once. Forward declarations, static_assert, "= delete"
//   declarations (what a class refuses says itself), access specifiers, closing braces and the
//   bodies of inline functions do not count.
// - A declaration has its comment when the line right above its first line is a "///" comment,
//   or when one of its lines carries a trailing "///<" comment.
// - A comment covers one declaration only: of two declarations in a row, each needs its own,
//   whatever the first one's comment says.
// The test fails unless every declaration has its comment, and lists those that lack one.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Declaration {
    int line = 0;
    std::string text;
    bool documented = false;
};

struct Scope {
    enum Kind { Namespace, Type, Enum, Body } kind;
    bool isPublic;
};

std::string trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// The code of a line without its trailing comment ("//", "///<"); string literals never hold
// "//" in these headers.
std::string codeOf(const std::string& line) {
    return trim(line.substr(0, line.find("//")));
}

int netBraces(const std::string& code) {
    return static_cast<int>(std::count(code.begin(), code.end(), '{')) -
           static_cast<int>(std::count(code.begin(), code.end(), '}'));
}

bool isDocComment(const std::string& line) {
    const std::string text = trim(line);
    return text.rfind("///", 0) == 0 && text.rfind("///<", 0) != 0;
}

// The declarations of one header's text, each marked documented or not.
std::vector<Declaration> declarationsOf(const std::string& header) {
    static const std::regex forward(R"(^(class|struct)\s+\w+;$)");
    static const std::regex access(R"(^(public|protected|private):$)");
    static const std::regex typeHead(R"(^(template\s*<.*>\s*)?(class|struct)\b)");
    static const std::regex enumHead(R"(^enum\b)");
    static const std::regex namespaceHead(R"(^namespace\b)");

    std::vector<std::string> lines;
    std::istringstream in(header);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);

    std::vector<Declaration> found;
    std::vector<Scope> scopes{{Scope::Namespace, true}};
    Declaration pending; // a statement begun on an earlier line
    std::string statement;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string code = codeOf(lines[i]);
        const bool trailingComment = lines[i].find("///<") != std::string::npos;
        if (code.empty() || code[0] == '#') {
            if (!statement.empty() && trailingComment) pending.documented = true;
            continue;
        }
        Scope& scope = scopes.back();
        if (scope.kind == Scope::Body) {
            for (int n = netBraces(code); n < 0; ++n)
                scopes.pop_back();
            for (int n = netBraces(code); n > 0; --n)
                scopes.push_back({Scope::Body, false});
            continue;
        }
        if (std::regex_match(code, access)) {
            scope.isPublic = code != "private:";
            continue;
        }
        if (statement.empty() && code[0] == '}') {
            scopes.pop_back();
            continue;
        }
        if (statement.empty()) {
            pending = Declaration{static_cast<int>(i + 1), trim(lines[i]),
                                  i > 0 && isDocComment(lines[i - 1])};
        }
        pending.documented = pending.documented || trailingComment;
        statement += (statement.empty() ? "" : " ") + code;

        if (scope.kind == Scope::Enum) { // one enumerator per line
            found.push_back(pending);
            statement.clear();
            continue;
        }
        const int braces = netBraces(statement);
        const bool ends = code.back() == ';' || code.back() == '{' || braces != 0 ||
                          code.find('{') != std::string::npos;
        if (!ends) continue;
        const bool counts = scope.isPublic && !std::regex_match(statement, forward) &&
                            statement.rfind("static_assert", 0) != 0 &&
                            statement.find("= delete") == std::string::npos &&
                            !std::regex_search(statement, namespaceHead);
        if (counts) found.push_back(pending);
        if (braces > 0) {
            const bool isEnum = std::regex_search(statement, enumHead);
            const bool isType = std::regex_search(statement, typeHead);
            const bool isNamespace = std::regex_search(statement, namespaceHead);
            scopes.push_back({isEnum        ? Scope::Enum
                              : isType      ? Scope::Type
                              : isNamespace ? Scope::Namespace
                                            : Scope::Body,
                              isEnum || isNamespace || statement.find("struct") == 0});
        }
        statement.clear();
    }
    return found;
}

std::string read(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(PublicHeaderComments, CountsByTheRule) {
    const std::string header = R"(// A sample.
#pragma once

/// The class.
class KORMAN_API Sample {
public:
    /// Documented.
    virtual int first() = 0;
    virtual int second(int a,
                       int b) = 0;
    Sample(const Sample&) = delete;
    int inlineBody() const {
        return 1;
    }
    int field = 0; ///< documented
private:
    int hidden_;
};

class Forward;
/// The kinds.
enum Kind : int {
    KIND_A = 0, ///< documented
    KIND_B = 1,
};
struct Plain {
    int x;
};
)";
    std::vector<std::string> missing;
    for (const Declaration& d : declarationsOf(header))
        if (!d.documented) missing.push_back(d.text);
    EXPECT_EQ(missing,
              (std::vector<std::string>{"virtual int second(int a,", "int inlineBody() const {",
                                        "KIND_B = 1,", "struct Plain {", "int x;"}));
}

TEST(PublicHeaderComments, EveryPublicDeclarationHasOne) {
    std::size_t total = 0;
    std::ostringstream missing;
    std::size_t missingCount = 0;
    for (const auto& entry : std::filesystem::directory_iterator(KORMAN_PUBLIC_INCLUDE_DIR)) {
        if (entry.path().extension() != ".h") continue;
        for (const Declaration& d : declarationsOf(read(entry.path()))) {
            ++total;
            if (d.documented) continue;
            ++missingCount;
            missing << entry.path().filename().string() << ":" << d.line << ": " << d.text << "\n";
        }
    }
    // The headers hold several hundred declarations: far fewer means the rule broke down.
    EXPECT_GT(total, 500u);
    EXPECT_EQ(missingCount, 0u) << missingCount << " of " << total
                                << " declarations have no comment of their own ("
                                << 100 * (total - missingCount) / std::max<std::size_t>(total, 1)
                                << " % have one):\n"
                                << missing.str();
}

} // namespace
