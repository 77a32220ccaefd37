#pragma once
// The listing page's download command: "下载商品" opens the download dialog; every listing it
// stores goes to the page, which moves the counts and refreshes the row.
namespace Quorvia::vumo {

class VumoCommandTable;
class VumoMainWidget;

class VumoDownloadCommands
{
public:
    explicit VumoDownloadCommands(VumoMainWidget& page);

    // Declares "下载商品" with its handler.
    void Declare(VumoCommandTable& table);
    // Runs the dialog modally.
    void DownloadVumo();

private:
    VumoMainWidget& m_page;
};

} // namespace Quorvia::vumo
