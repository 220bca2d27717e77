#pragma once
// Deinterlacing (libavfilter's bwdif) and the picture adjustments (its eq filter) applied to a
// decoded picture at its recorded size, before any zoom or scaling, so the pane and a saved view
// make the same pixels.
//
// Threads: one filter per thread; it keeps its filter graph between pictures.
#include <cstdint>
#include <string>

#include "picture/PictureSettings.h"

struct AVFilterGraph;
struct AVFilterContext;
struct AVFrame;

namespace ov {

class PictureFilter {
 public:
  PictureFilter();
  ~PictureFilter();
  PictureFilter(const PictureFilter&) = delete;
  PictureFilter& operator=(const PictureFilter&) = delete;

  // The picture to show for in: in itself when nothing is to be done (no adjustment, and no
  // deinterlacing or a progressive picture under Auto), else a filtered picture owned by the
  // filter and valid until the next call. prev, when given, is the picture decoded before in: the
  // deinterlacer takes the motion from it. On a failure in comes back unchanged and Error() says
  // why.
  const AVFrame* Apply(const AVFrame* in, const AVFrame* prev, const PictureAdjust& adjust,
                       Deinterlace mode);
  const std::string& Error() const { return m_error; }

  // Whether a picture with these flags is deinterlaced under mode.
  static bool Deinterlaces(const AVFrame* in, Deinterlace mode);
  // The filter chain for the settings ("" when there is nothing to do), for the PNG's text.
  static std::string Describe(const PictureAdjust& adjust, bool deinterlace,
                              bool withPrevious = true);

 private:
  bool Build(const AVFrame* in, const std::string& chain);
  void Reset();

  AVFilterGraph* m_graph = nullptr;
  AVFilterContext* m_src = nullptr;
  AVFilterContext* m_sink = nullptr;
  std::string m_key;  // the chain and picture format the graph was built for
  AVFrame* m_out = nullptr;
  AVFrame* m_copy = nullptr;
  int64_t m_pts = 0;  // rising across the pictures a kept graph sees
  std::string m_error;
};

}  // namespace ov
