#include "ui/main/print_queue.h"

#include <cups/cups.h>

#include <sys/socket.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <utility>

namespace parvolin {

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// A service that lists more queues than this is not one to trust with the
// rest of its list.
constexpr std::size_t most_printers = 500;
// How often a handed-over job is asked after.
constexpr auto job_poll_interval = 250ms;
constexpr std::size_t write_chunk = 64 * 1024;

// A connection to the configured server whose every wait ends at `deadline`
// (which must outlive it); closed with the object.
class Connection {
public:
    explicit Connection(const Clock::time_point &deadline)
    {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        int cancel = 0;
        http_ = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                             static_cast<int>(std::max<std::chrono::milliseconds::rep>(left.count(), 1)), &cancel);
        if (http_ != nullptr)
            bound_print_service_waits(http_, deadline);
    }
    ~Connection()
    {
        if (http_ != nullptr)
            httpClose(http_);
    }
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    http_t *get() const { return http_; }

private:
    http_t *http_ = nullptr;
};

// What a question that got no answer means: the service kept silent until
// the deadline, or there is none (a refusal comes at once).
PrintServiceState unanswered(const Clock::time_point &deadline)
{
    return Clock::now() >= deadline ? PrintServiceState::Silent : PrintServiceState::Unreachable;
}

std::string printer_uri(const std::string &printer)
{
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(), "/printers/%s",
                     printer.c_str());
    return uri;
}

// A request about `printer`, asked in the user's name.
ipp_t *printer_request(ipp_op_t operation, const std::string &printer)
{
    ipp_t *request = ippNewRequest(operation);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, printer_uri(printer).c_str());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    return request;
}

bool succeeded(ipp_t *answer)
{
    return answer != nullptr && ippGetStatusCode(answer) <= IPP_STATUS_OK_EVENTS_COMPLETE;
}

int integer_in(ipp_t *collection, const char *name)
{
    ipp_attribute_t *attribute = collection != nullptr ? ippFindAttribute(collection, name, IPP_TAG_INTEGER) : nullptr;
    return attribute != nullptr ? ippGetInteger(attribute, 0) : -1;
}

// The paper a media-col-default names, in hundredths of a millimetre; A4
// without margins when it names none or one no printer has.
PaperSetup paper_of(ipp_t *answer)
{
    ipp_attribute_t *media_attribute = ippFindAttribute(answer, "media-col-default", IPP_TAG_BEGIN_COLLECTION);
    ipp_t *media = media_attribute != nullptr ? ippGetCollection(media_attribute, 0) : nullptr;
    ipp_attribute_t *size_attribute =
        media != nullptr ? ippFindAttribute(media, "media-size", IPP_TAG_BEGIN_COLLECTION) : nullptr;
    ipp_t *size = size_attribute != nullptr ? ippGetCollection(size_attribute, 0) : nullptr;
    const int width = integer_in(size, "x-dimension");
    const int height = integer_in(size, "y-dimension");
    // From a label (5 cm) to a plotter's sheet (2 m).
    if (width < 5000 || width > 200000 || height < 5000 || height > 200000)
        return {};
    PaperSetup paper;
    paper.width = width / 100.0;
    paper.height = height / 100.0;
    const int left = integer_in(media, "media-left-margin");
    const int top = integer_in(media, "media-top-margin");
    const int right = integer_in(media, "media-right-margin");
    const int bottom = integer_in(media, "media-bottom-margin");
    // Margins that leave less than half the sheet are none a printer has.
    if (left >= 0 && right >= 0 && top >= 0 && bottom >= 0 && left + right < width / 2 && top + bottom < height / 2) {
        paper.left = left / 100.0;
        paper.top = top / 100.0;
        paper.right = right / 100.0;
        paper.bottom = bottom / 100.0;
    }
    return paper;
}

// A failed step of the hand-over: silence until the deadline, or the
// service's refusal in its own words.
void hand_over_failed(JobReport &report, const Clock::time_point &deadline)
{
    report.end = Clock::now() >= deadline ? JobEnd::HandOverStalled : JobEnd::Refused;
    const char *reason = cupsLastErrorString();
    report.reason = reason != nullptr && *reason != '\0' ? reason : ippErrorString(cupsLastError());
}

} // namespace

PrinterList list_printers(std::chrono::milliseconds timeout)
{
    const Clock::time_point deadline = Clock::now() + timeout;
    PrinterList list{print_server_name(), PrintServiceState::Unreachable, {}};
    const Connection connection(deadline);
    if (connection.get() == nullptr) {
        list.state = unanswered(deadline);
        return list;
    }

    ipp_t *request = ippNewRequest(IPP_OP_CUPS_GET_PRINTERS);
    static const char *const wanted[] = {"printer-name", "printer-info"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 2, nullptr, wanted);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    ipp_t *answer = cupsDoRequest(connection.get(), request, "/");
    if (answer == nullptr) {
        list.state = unanswered(deadline);
        return list;
    }
    // An answer "not found" is a service without queues.
    list.state = PrintServiceState::Answered;
    PrinterEntry entry;
    const auto take = [&] {
        if (!entry.name.empty() && list.printers.size() < most_printers)
            list.printers.push_back(std::move(entry));
        entry = {};
    };
    for (ipp_attribute_t *attribute = ippFirstAttribute(answer); attribute != nullptr;
         attribute = ippNextAttribute(answer)) {
        const char *name = ippGetName(attribute);
        if (ippGetGroupTag(attribute) != IPP_TAG_PRINTER || name == nullptr) {
            take();
            continue;
        }
        const char *value = ippGetString(attribute, 0, nullptr);
        if (value == nullptr)
            continue;
        if (std::strcmp(name, "printer-name") == 0)
            entry.name = value;
        else if (std::strcmp(name, "printer-info") == 0)
            entry.description = value;
    }
    take();
    ippDelete(answer);

    // The user's own choice (LPDEST, PRINTER, lpoptions) or the service's.
    if (!list.printers.empty() && Clock::now() < deadline) {
        if (const char *chosen = cupsGetDefault2(connection.get())) {
            for (PrinterEntry &printer : list.printers)
                printer.is_default = printer.name == chosen;
        }
    }
    return list;
}

PrinterPaper describe_printer(const std::string &printer, std::chrono::milliseconds timeout)
{
    const Clock::time_point deadline = Clock::now() + timeout;
    PrinterPaper described{print_server_name(), PrintServiceState::Unreachable, {}};
    const Connection connection(deadline);
    if (connection.get() == nullptr) {
        described.state = unanswered(deadline);
        return described;
    }
    ipp_t *request = printer_request(IPP_OP_GET_PRINTER_ATTRIBUTES, printer);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr, "media-col-default");
    ipp_t *answer = cupsDoRequest(connection.get(), request, "/");
    if (answer == nullptr) {
        described.state = unanswered(deadline);
        return described;
    }
    described.state = PrintServiceState::Answered;
    if (succeeded(answer))
        described.paper = paper_of(answer);
    ippDelete(answer);
    return described;
}

JobReport send_print_job(const std::string &printer, const std::string &title, int copies, const std::string &pdf,
                         std::chrono::milliseconds timeout)
{
    const Clock::time_point deadline = Clock::now() + timeout;
    JobReport report{print_server_name(), JobEnd::Unreachable, 0, {}};
    const Connection connection(deadline);
    http_t *http = connection.get();
    if (http == nullptr) {
        hand_over_failed(report, deadline);
        if (report.end == JobEnd::Refused)
            report.end = JobEnd::Unreachable;
        return report;
    }

    // One Print-Job request with the document in it, rather than Create-Job
    // and Send-Document: a hand-over that breaks off then leaves no empty job
    // behind in the queue.
    const std::string resource = "/printers/" + printer;
    ipp_t *request = printer_request(IPP_OP_PRINT_JOB, printer);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "job-name", nullptr, title.c_str());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "document-name", nullptr, title.c_str());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_MIMETYPE, "document-format", nullptr, CUPS_FORMAT_PDF);
    if (copies > 1)
        ippAddInteger(request, IPP_TAG_JOB, IPP_TAG_INTEGER, "copies", copies);
    // The length is the whole body's: the request's attributes and the document.
    http_status_t status = cupsSendRequest(http, request, resource.c_str(), ippLength(request) + pdf.size());
    for (std::size_t at = 0; status == HTTP_STATUS_CONTINUE && at < pdf.size(); at += write_chunk)
        status = cupsWriteRequestData(http, pdf.data() + at, std::min(write_chunk, pdf.size() - at));
    // The service may answer as the last bytes go; the library then has the
    // answer's status already, and the answer itself is read next.
    const bool sent = status == HTTP_STATUS_CONTINUE || status == HTTP_STATUS_OK;
    ipp_t *answer = sent ? cupsGetResponse(http, resource.c_str()) : nullptr;
    ippDelete(request);
    ipp_attribute_t *job = succeeded(answer) ? ippFindAttribute(answer, "job-id", IPP_TAG_INTEGER) : nullptr;
    report.job_id = job != nullptr ? ippGetInteger(job, 0) : 0;
    ippDelete(answer);
    if (!sent || report.job_id <= 0) {
        hand_over_failed(report, deadline);
        return report;
    }

    // Followed to its end: a job the service aborts (a filter that fails) is
    // no printed job.
    report.end = JobEnd::StillQueued;
    while (Clock::now() < deadline) {
        ipp_t *question = printer_request(IPP_OP_GET_JOB_ATTRIBUTES, printer);
        ippAddInteger(question, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "job-id", report.job_id);
        static const char *const wanted[] = {"job-state", "job-state-message"};
        ippAddStrings(question, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 2, nullptr, wanted);
        ipp_t *state_answer = cupsDoRequest(http, question, "/");
        if (succeeded(state_answer)) {
            ipp_attribute_t *state = ippFindAttribute(state_answer, "job-state", IPP_TAG_ENUM);
            ipp_attribute_t *message = ippFindAttribute(state_answer, "job-state-message", IPP_TAG_TEXT);
            const int value = state != nullptr ? ippGetInteger(state, 0) : 0;
            if (message != nullptr && ippGetString(message, 0, nullptr) != nullptr)
                report.reason = ippGetString(message, 0, nullptr);
            if (value == IPP_JSTATE_COMPLETED)
                report.end = JobEnd::Completed;
            else if (value == IPP_JSTATE_CANCELED || value == IPP_JSTATE_ABORTED)
                report.end = JobEnd::Stopped;
        }
        ippDelete(state_answer);
        if (report.end != JobEnd::StillQueued)
            break;
        std::this_thread::sleep_for(std::min<Clock::duration>(job_poll_interval, deadline - Clock::now()));
    }
    return report;
}

} // namespace parvolin
