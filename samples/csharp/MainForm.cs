// A form with a path box, an Open button, paging buttons and a status line, around a
// Folivex Viewer.
using System;
using System.IO;
using System.Runtime.InteropServices;
using System.Windows.Forms;

namespace FolivexSample
{
    public class MainForm : Form
    {
        private readonly TextBox path = new TextBox { Dock = DockStyle.Fill };
        private readonly Button open = new Button { Text = "&Open", Dock = DockStyle.Right, Width = 80 };
        private readonly Button previous = new Button { Text = "<", Dock = DockStyle.Right, Width = 40 };
        private readonly Button next = new Button { Text = ">", Dock = DockStyle.Right, Width = 40 };
        private readonly StatusStrip status = new StatusStrip();
        private readonly ToolStripStatusLabel statusText = new ToolStripStatusLabel();
        private readonly ViewerControl viewer = new ViewerControl { Dock = DockStyle.Fill };

        public MainForm(string document)
        {
            Text = "Folivex sample";
            Width = 900;
            Height = 700;
            var top = new Panel { Dock = DockStyle.Top, Height = 28 };
            top.Controls.AddRange(new Control[] { path, previous, next, open });
            status.Items.Add(statusText);
            Controls.Add(viewer);
            Controls.Add(top);
            Controls.Add(status);
            path.Text = document ?? "";

            open.Click += (s, e) => Open();
            previous.Click += (s, e) => Navigate(viewer.GotoPreviousPage);
            next.Click += (s, e) => Navigate(viewer.GotoNextPage);
            viewer.DownloadProgress += (s, e) => statusText.Text = $"Downloading {e.CurBytes} of {e.MaxBytes} bytes";
            viewer.DownloadError += (s, file) => statusText.Text = "The download failed";
            viewer.DownloadComplete += (s, e) => { if (e.MaxBytes > 0) statusText.Text = $"Downloaded {e.MaxBytes} bytes"; };

            Load += (s, e) =>
            {
                viewer.CreateControl();
                // The control saves no properties: set them at run time.
                viewer.TempPath = Path.GetTempPath();
                if (!viewer.IsReaderInstalled())
                {
                    statusText.Text = "The PDF viewer component is not installed.";
                    open.Enabled = false;
                }
                else if (path.Text.Length > 0)
                {
                    Open();
                }
            };
        }

        private void Open()
        {
            // OpenPDF processes messages while it waits: keep a second click from starting
            // another open (which would take over and make this one return false).
            open.Enabled = false;
            try
            {
                if (viewer.OpenPDF(path.Text.Trim())) ShowPosition();
                else statusText.Text = "Could not open " + path.Text;
            }
            finally
            {
                open.Enabled = true;
            }
        }

        private void Navigate(Action move)
        {
            try
            {
                move();
                ShowPosition();
            }
            catch (COMException error)
            {
                statusText.Text = error.Message; // the component's error, unchanged
            }
        }

        private void ShowPosition()
        {
            int total;
            try
            {
                total = viewer.PageTotal;
            }
            catch (COMException)
            {
                total = 0; // "Type mismatch": the page box holds no count
            }
            statusText.Text = total > 0
                ? $"Page {viewer.Page} of {total}, {viewer.ZoomPct}%"
                : $"Page {viewer.Page}, {viewer.ZoomPct}%";
        }

        [STAThread]
        private static void Main(string[] args)
        {
            Application.EnableVisualStyles();
            Application.Run(new MainForm(args.Length > 0 ? args[0] : null));
        }
    }
}
