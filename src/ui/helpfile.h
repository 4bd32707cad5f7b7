#pragma once

#include <QString>
#include <QUrl>

#include <filesystem>

class QWidget;

namespace tessaly {

// The program's help: HTML pages in one folder, shown in the program's own help viewer. Every
// dialog with a Help button gets one of these and opens its topic ("downloaddlg.htm", "lists.htm",
// "convertopt.htm"); Help > Contents opens kContentsTopic.
class HelpFile {
public:
    static constexpr const char* kContentsTopic = "index.htm";

    explicit HelpFile(std::filesystem::path folder)
        : folder_(std::move(folder)) {}

    const std::filesystem::path& Folder() const { return folder_; }
    // The address of a topic; a leading "::/" (as topics are written in the help links) is dropped.
    QUrl TopicUrl(const QString& topic) const;
    // Shows the topic in the help viewer, a window of its own beside `parent`; a missing page shows
    // a line saying so, never an empty window.
    void ShowTopic(QWidget* parent, const QString& topic) const;

private:
    std::filesystem::path folder_;
};

} // namespace tessaly
