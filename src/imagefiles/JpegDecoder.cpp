#include "JpegDecoder.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <new>

#include "imaging/FitInBox.h"
#include "imagefiles/ImageStreams.h"

extern "C" {
#include <jerror.h>
#include <jpeglib.h>
}

namespace tessary {

namespace {

constexpr size_t kSourceBufferSize = 4096;
// Progressive files may hold any number of scans; real ones have about ten. More than this is
// a file made to keep the decoder busy.
constexpr int kMaxScans = 500;

// Everything one decoding needs, as plain C data: nothing here owns a resource, so the
// library's jump back out of any depth leaves nothing to destroy except the decompressor,
// which the caller always destroys.
struct JpegJob {
    jpeg_decompress_struct cinfo;
    struct {
        jpeg_error_mgr pub;
        std::jmp_buf jump;
        char message[516];
    } err;
    struct {
        jpeg_source_mgr pub;
        ImageStream* stream;
        bool startOfFile;
        JOCTET buffer[kSourceBufferSize];
    } src;
    jpeg_progress_mgr progress;
    const JpegDecodeRequest* request;
    JpegImageInfo* info;
    DibImage24* target;
};

JpegJob& JobOf(j_common_ptr cinfo)
{
    // The decompressor is the first member of its job.
    return *reinterpret_cast<JpegJob*>(cinfo);
}

// ---- error manager: formats the message, then jumps back; prints nothing ------------------

void ErrorExit(j_common_ptr cinfo)
{
    JpegJob& job = JobOf(cinfo);
    (*cinfo->err->format_message)(cinfo, job.err.message);
    std::longjmp(job.err.jump, 1);
}

void OutputMessage(j_common_ptr) {}

// ---- source manager over the stream, 4096 bytes at a time ----------------------------------

void InitSource(j_decompress_ptr cinfo)
{
    JobOf(j_common_ptr(cinfo)).src.startOfFile = true;
}

boolean FillInputBuffer(j_decompress_ptr cinfo)
{
    JpegJob& job = JobOf(j_common_ptr(cinfo));
    size_t n = job.src.stream->Read(job.src.buffer, 1, kSourceBufferSize);
    if (n == 0) {
        if (job.src.startOfFile)
            ERREXIT(cinfo, JERR_INPUT_EMPTY);
        // A cut file: pretend it ends here so that the part present still decodes.
        WARNMS(cinfo, JWRN_JPEG_EOF);
        job.src.buffer[0] = 0xFF;
        job.src.buffer[1] = JPEG_EOI;
        n = 2;
    }
    job.src.pub.next_input_byte = job.src.buffer;
    job.src.pub.bytes_in_buffer = n;
    job.src.startOfFile = false;
    return TRUE;
}

void SkipInputData(j_decompress_ptr cinfo, long count)
{
    if (count <= 0)
        return;
    jpeg_source_mgr& src = *cinfo->src;
    size_t left = size_t(count);
    while (left > src.bytes_in_buffer) {
        left -= src.bytes_in_buffer;
        FillInputBuffer(cinfo);
    }
    src.next_input_byte += left;
    src.bytes_in_buffer -= left;
}

void TermSource(j_decompress_ptr) {}

void ProgressMonitor(j_common_ptr cinfo)
{
    if (cinfo->is_decompressor && j_decompress_ptr(cinfo)->input_scan_number > kMaxScans)
        ERREXIT(cinfo, JERR_NOT_COMPILED);
}

// ---- the decoding steps (run inside the guard; plain data only) ----------------------------

// Inverted CMYK, as four-component files carry it, to blue, green, red.
void CmykRowToBgr(const JSAMPLE* in, uint8_t* out, JDIMENSION width)
{
    for (JDIMENSION x = 0; x < width; ++x, in += 4, out += 3) {
        const unsigned k = in[3];
        out[0] = uint8_t(in[2] * k / 255);
        out[1] = uint8_t(in[1] * k / 255);
        out[2] = uint8_t(in[0] * k / 255);
    }
}

bool DecodeSteps(JpegJob& job)
{
    jpeg_decompress_struct& cinfo = job.cinfo;
    jpeg_create_decompress(&cinfo);
    cinfo.src = &job.src.pub;
    cinfo.progress = &job.progress;
    cinfo.mem->max_memory_to_use = long(job.request->maxPixelBytes);

    jpeg_read_header(&cinfo, TRUE);
    job.info->width = int(cinfo.image_width);
    job.info->height = int(cinfo.image_height);
    job.info->components = cinfo.num_components;
    job.info->colorSpace = cinfo.jpeg_color_space;
    if (job.request->headerOnly)
        return true;

    // Three-component output in the pixels' own byte order; four components stay as they are
    // and are converted row by row.
    if (cinfo.num_components != 4)
        cinfo.out_color_space = JCS_EXT_BGR;
    cinfo.scale_num = 1;
    cinfo.scale_denom = unsigned(job.request->scaleDenominator);
    const DibSize box = job.request->fitBox;
    const DibSize image{job.info->width, job.info->height};
    if (!box.IsEmpty() && 2 * int64_t(box.width) <= image.width && 2 * int64_t(box.height) <= image.height)
        cinfo.scale_denom = unsigned(ChooseJpegScale(image, FitInBox(box, image)));
    jpeg_calc_output_dimensions(&cinfo);
    if (!FitsPixelLimit(cinfo.output_width, cinfo.output_height, 24, job.request->maxPixelBytes))
        return false;
    if (!job.target->Create(int(cinfo.output_width), int(cinfo.output_height), 24))
        return false;

    jpeg_start_decompress(&cinfo);
    if (cinfo.output_components == 3) {
        uint8_t* const* rows = job.target->Rows();
        while (cinfo.output_scanline < cinfo.output_height) {
            const JDIMENSION line = cinfo.output_scanline;
            if (jpeg_read_scanlines(&cinfo, const_cast<JSAMPARRAY>(rows + line), cinfo.output_height - line) == 0)
                return false;
        }
    } else if (cinfo.output_components == 4) {
        JSAMPARRAY buffer = (*cinfo.mem->alloc_sarray)(j_common_ptr(&cinfo), JPOOL_IMAGE, cinfo.output_width * 4, 1);
        while (cinfo.output_scanline < cinfo.output_height) {
            const JDIMENSION line = cinfo.output_scanline;
            if (jpeg_read_scanlines(&cinfo, buffer, 1) != 1)
                return false;
            CmykRowToBgr(buffer[0], job.target->Row(int(line)), cinfo.output_width);
        }
    } else {
        return false;
    }
    jpeg_finish_decompress(&cinfo);
    return true;
}

// The one place the library jumps back to.
bool RunGuarded(JpegJob& job)
{
    if (setjmp(job.err.jump))
        return false;
    return DecodeSteps(job);
}

} // namespace

DibSize JpegScaledSize(DibSize image, int scaleDenominator)
{
    const int64_t d = scaleDenominator > 0 ? scaleDenominator : 1;
    return {int32_t((image.width + d - 1) / d), int32_t((image.height + d - 1) / d)};
}

int ChooseJpegScale(DibSize image, DibSize fitted)
{
    if (image.IsEmpty() || fitted.IsEmpty())
        return 1;
    for (int d : {8, 4, 2}) {
        const DibSize s = JpegScaledSize(image, d);
        if (s.width >= 2 * int64_t(fitted.width) && s.height >= 2 * int64_t(fitted.height))
            return d;
    }
    const DibSize half = JpegScaledSize(image, 2);
    return half.width >= fitted.width && half.height >= fitted.height ? 2 : 1;
}

bool DecodeJpeg(ImageStream& stream, const JpegDecodeRequest& request, JpegImageInfo& info, DibImage24& out)
{
    const int d = request.scaleDenominator;
    if (!stream.IsOpen() || (d != 1 && d != 2 && d != 4 && d != 8) || request.maxPixelBytes <= 0)
        return false;

    // About 5 KiB of plain data; the heap keeps it off small worker stacks.
    JpegJob* job = new (std::nothrow) JpegJob;
    if (!job)
        return false;
    std::memset(job, 0, sizeof(JpegJob));
    job->cinfo.err = jpeg_std_error(&job->err.pub);
    job->err.pub.error_exit = ErrorExit;
    job->err.pub.output_message = OutputMessage;
    job->src.pub.init_source = InitSource;
    job->src.pub.fill_input_buffer = FillInputBuffer;
    job->src.pub.skip_input_data = SkipInputData;
    job->src.pub.resync_to_restart = jpeg_resync_to_restart;
    job->src.pub.term_source = TermSource;
    job->src.stream = &stream;
    job->progress.progress_monitor = ProgressMonitor;
    job->request = &request;
    job->info = &info;

    DibImage24 decoded;
    job->target = &decoded;
    const bool ok = RunGuarded(*job);
    jpeg_destroy_decompress(&job->cinfo);
    delete job;

    if (request.headerOnly)
        return ok;
    if (!ok) {
        out.Reset();
        return false;
    }
    out.Adopt(decoded);
    return true;
}

} // namespace tessary
