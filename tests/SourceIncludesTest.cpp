// The include structure of the library's sources.
//
// A component is a header with the source file of the same name (model/NodeList.h and
// model/NodeList.cpp); it depends on every component either file includes. No component may
// depend on itself through others: a circle means none of its members can be understood, built
// or tested without all the rest. And an object class's header includes another object class
// only when it names it, so holding a part does not drag in the song around it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

using Graph = std::map<std::string, std::set<std::string>>;

// The quoted includes of `text`, as written ("model/NodeList.h").
std::vector<std::string> includesOf(const std::string& text) {
    static const std::regex include(R"((?:^|\n)[ \t]*#[ \t]*include[ \t]*"([^"]+)\")");
    std::vector<std::string> found;
    for (std::sregex_iterator it(text.begin(), text.end(), include), end; it != end; ++it)
        found.push_back((*it)[1]);
    return found;
}

std::string stemOf(const std::string& path) {
    return path.substr(0, path.rfind('.'));
}

// Adds the file `path` (relative to the source root, "model/NodeList.cpp") holding `text` to
// `graph`: its component depends on the component of each file it includes.
void addFile(Graph& graph, const std::string& path, const std::string& text) {
    const std::string from = stemOf(path);
    std::set<std::string>& edges = graph[from];
    for (const std::string& included : includesOf(text))
        if (stemOf(included) != from) edges.insert(stemOf(included));
}

// A circle of `graph` as "a -> b -> a", or empty when there is none.
std::string findCircle(const Graph& graph) {
    enum class Mark { Open, Done };
    std::map<std::string, Mark> marks;
    std::vector<std::string> path;
    std::string circle;
    const auto visit = [&](const auto& self, const std::string& node) -> void {
        marks[node] = Mark::Open;
        path.push_back(node);
        const auto edges = graph.find(node);
        if (edges != graph.end())
            for (const std::string& next : edges->second) {
                if (!circle.empty()) break;
                const auto mark = marks.find(next);
                if (mark == marks.end()) {
                    self(self, next);
                } else if (mark->second == Mark::Open) {
                    for (auto it = std::find(path.begin(), path.end(), next); it != path.end();
                         ++it)
                        circle += *it + " -> ";
                    circle += next;
                }
            }
        path.pop_back();
        marks[node] = Mark::Done;
    };
    for (const auto& [node, edges] : graph)
        if (circle.empty() && !marks.contains(node)) visit(visit, node);
    return circle;
}

std::string read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool isSource(const fs::path& path) {
    return path.extension() == ".h" || path.extension() == ".cpp";
}

} // namespace

TEST(SourceIncludes, TheCircleFinderSeesACircleThroughASourceFile) {
    Graph graph;
    addFile(graph, "model/Part.h", "#include \"model/NodeList.h\"\n");
    addFile(graph, "model/NodeList.h", "#include <vector>\n");
    EXPECT_EQ(findCircle(graph), "");
    // The header alone is clean; its source file closes the circle.
    addFile(graph, "model/NodeList.cpp",
            "#include \"model/NodeList.h\"\n  #  include \"model/Factory.h\"\n");
    addFile(graph, "model/Factory.cpp", "#include \"model/Part.h\"\n");
    EXPECT_EQ(findCircle(graph), "model/Factory -> model/Part -> model/NodeList -> model/Factory");
}

TEST(SourceIncludes, NoComponentDependsOnItselfThroughOthers) {
    const fs::path root = KORMAN_SOURCE_DIR;
    Graph graph;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file() && isSource(entry.path()))
            addFile(graph, entry.path().lexically_relative(root).generic_string(),
                    read(entry.path()));
    // Every layer of the library is walked: far fewer components means the walk broke down.
    EXPECT_GT(graph.size(), 150u);
    EXPECT_EQ(findCircle(graph), "");
}

TEST(SourceIncludes, AnObjectClassHeaderIncludesOnlyTheClassesItNames) {
    const fs::path model = fs::path(KORMAN_SOURCE_DIR) / "model";
    static const std::regex objectClass(R"(\nclass (CZR\w+)(?: final)?\s*:\s*public T\w+<)");
    std::map<std::string, std::string> classOfHeader; // "model/Tempo.h" -> "CZRTempo"
    std::map<std::string, std::string> texts;
    for (const auto& entry : fs::directory_iterator(model)) {
        if (entry.path().extension() != ".h") continue;
        const std::string header = "model/" + entry.path().filename().string();
        texts[header] = read(entry.path());
        std::smatch match;
        if (std::regex_search(texts[header], match, objectClass)) classOfHeader[header] = match[1];
    }
    EXPECT_GT(classOfHeader.size(), 25u);
    static const std::regex includeLine(R"(\n[ \t]*#[ \t]*include[^\n]*)");
    for (const auto& [header, name] : classOfHeader) {
        const std::string body = std::regex_replace(texts[header], includeLine, "\n");
        for (const std::string& included : includesOf(texts[header])) {
            const auto sibling = classOfHeader.find(included);
            if (sibling == classOfHeader.end()) continue;
            EXPECT_TRUE(std::regex_search(body, std::regex("\\b" + sibling->second + "\\b")))
                << header << " includes " << included << " but never names " << sibling->second;
        }
    }
}
