// A hand-written AxHost wrapper for Folivex.Viewer: no interop assembly is generated, the members
// are called late bound, and the download events arrive through a connection point.
// (aximp Folivex.dll generates an equivalent, early-bound AxFolivex.AxViewer.)
using System;
using System.Runtime.InteropServices;
using System.Windows.Forms;

namespace FolivexSample
{
    // The control's event interface __Viewer. Every parameter is passed by reference.
    [ComImport]
    [Guid("88364098-9A1C-44B3-883A-285BF5DA3141")]
    [InterfaceType(ComInterfaceType.InterfaceIsIDispatch)]
    public interface IViewerEvents
    {
        [DispId(1)] void DownloadStarted(ref string SaveFile);
        [DispId(2)] void DownloadProgress(ref int CurBytes, ref int MaxBytes, ref string SaveFile);
        [DispId(3)] void DownloadError(ref string SaveFile);
        [DispId(4)] void DownloadComplete(ref int MaxBytes, ref string SaveFile);
    }

    public class DownloadProgressEventArgs : EventArgs
    {
        public DownloadProgressEventArgs(int current, int total, string file)
        {
            CurBytes = current;
            MaxBytes = total;
            SaveFile = file;
        }
        public int CurBytes { get; }
        public int MaxBytes { get; }
        public string SaveFile { get; }
    }

    public class ViewerControl : AxHost
    {
        // CLSID of Folivex.Viewer.
        public ViewerControl() : base("71245f77-ce10-451c-a2c9-9c069d214d9e") { }

        private dynamic viewer;
        private ConnectionPointCookie cookie;
        private Sink sink;

        public event EventHandler<string> DownloadStarted;
        public event EventHandler<DownloadProgressEventArgs> DownloadProgress;
        public event EventHandler<string> DownloadError;
        public event EventHandler<DownloadProgressEventArgs> DownloadComplete;

        protected override void AttachInterfaces()
        {
            viewer = GetOcx();
        }

        protected override void CreateSink()
        {
            try
            {
                sink = new Sink(this);
                cookie = new ConnectionPointCookie(GetOcx(), sink, typeof(IViewerEvents));
            }
            catch (Exception)
            {
                cookie = null; // a host without events still works
            }
        }

        protected override void DetachSink()
        {
            cookie?.Disconnect();
            cookie = null;
        }

        private dynamic Ocx
        {
            get
            {
                if (viewer == null) throw new InvalidOperationException("The control is not created yet; call CreateControl first.");
                return viewer;
            }
        }

        // OpenPDF never throws: false when the document cannot be shown.
        public bool OpenPDF(string path = "") => Ocx.OpenPDF(path);
        public string TempPath { get => Ocx.TempPath; set => Ocx.TempPath = value; }
        public string DocumentPath { get => Ocx.Path; set => Ocx.Path = value; }
        public short ReaderVersion { get => Ocx.ReaderVersion; set => Ocx.ReaderVersion = value; }
        public bool IsReaderInstalled() => Ocx.IsReaderInstalled();
        public int Page => Ocx.Page;
        public short ZoomPct => Ocx.ZoomPct;
        // Throws a COMException with HResult 0x800A000D when the page box holds no count.
        public int PageTotal => Ocx.PageTotal;
        // The navigation members throw the component's error as a COMException.
        public void GotoFirstPage() => Ocx.GotoFirstPage();
        public void GotoNextPage() => Ocx.GotoNextPage();
        public void GotoPreviousPage() => Ocx.GotoPreviousPage();
        public void GotoLastPage() => Ocx.GotoLastPage();
        public void SetZoom(float percent) => Ocx.SetZoom(percent);
        public string CopyToString() => Ocx.CopyToString();
        public bool SaveCopy(string file) => Ocx.SaveCopy(file);
        public bool DisableSaveKeys { get => Ocx.DisableSaveKeys; set => Ocx.DisableSaveKeys = value; }
        public void DisablePrintDialog() => Ocx.DisablePrintDialog();
        public void EnablePrintDialog() => Ocx.EnablePrintDialog();

        [ClassInterface(ClassInterfaceType.None)]
        private sealed class Sink : IViewerEvents
        {
            private readonly ViewerControl owner;
            public Sink(ViewerControl owner) { this.owner = owner; }

            public void DownloadStarted(ref string SaveFile) =>
                owner.DownloadStarted?.Invoke(owner, SaveFile);
            public void DownloadProgress(ref int CurBytes, ref int MaxBytes, ref string SaveFile) =>
                owner.DownloadProgress?.Invoke(owner, new DownloadProgressEventArgs(CurBytes, MaxBytes, SaveFile));
            public void DownloadError(ref string SaveFile) =>
                owner.DownloadError?.Invoke(owner, SaveFile);
            public void DownloadComplete(ref int MaxBytes, ref string SaveFile) =>
                owner.DownloadComplete?.Invoke(owner, new DownloadProgressEventArgs(MaxBytes, MaxBytes, SaveFile));
        }
    }
}
