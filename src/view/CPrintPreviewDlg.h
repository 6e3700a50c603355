#pragma once
// The print preview window: a bar of buttons over the printed pages, one or
// two side by side, drawn as they will come out of the printer.
//
// Buttons: "&Print..." (closes the preview with PrintRequested), "&Next Page",
// "Pre&v Page", the one/two-page toggle, "Zoom &In", "Zoom &Out" and "&Close";
// Page Down and Page Up turn the pages and Esc closes. Page buttons are
// disabled at the ends, zoom buttons at their limits.

#include "view/LogPrinter.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QScrollArea;

class CPrintPreviewDlg : public QDialog {
    Q_OBJECT
public:
    // Result of exec() when the user asked to print.
    static constexpr int PrintRequested = 2;
    // Zoom levels: 0 shows whole pages, each level doubles the size.
    static constexpr int MaxZoomLevel = 2;

    // pagesShown other than 2 shows one page.
    CPrintPreviewDlg(const PrintedLog& log, int pagesShown, QWidget* mainWindow);
    ~CPrintPreviewDlg() override;

    int PageCount() const;
    int CurrentPage() const { return m_currentPage; } // first page shown, from 1
    int PagesShown() const { return m_pagesShown; }
    int ZoomLevel() const { return m_zoomLevel; }

signals:
    // The one/two-page toggle changed the number of pages side by side.
    void PagesShownChanged(int pages);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnNextPage();
    void OnPrevPage();
    void OnTogglePages();
    void OnZoomIn();
    void OnZoomOut();
    void UpdateView();

    class Canvas;

    PrintedLog m_log;
    int m_pagesShown = 1;
    int m_currentPage = 1;
    int m_zoomLevel = 0;

    QPushButton* m_print = nullptr;
    QPushButton* m_next = nullptr;
    QPushButton* m_prev = nullptr;
    QPushButton* m_toggle = nullptr;
    QPushButton* m_zoomIn = nullptr;
    QPushButton* m_zoomOut = nullptr;
    QPushButton* m_close = nullptr;
    QLabel* m_status = nullptr;
    QScrollArea* m_scroll = nullptr;
    Canvas* m_canvas = nullptr;
};
