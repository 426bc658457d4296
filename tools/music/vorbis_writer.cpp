#include "tools/music/vorbis_writer.h"

#include <algorithm>

#include <vorbis/vorbisenc.h>

namespace {

void appendPage(const ogg_page& page, std::vector<unsigned char>& out) {
  out.insert(out.end(), page.header, page.header + page.header_len);
  out.insert(out.end(), page.body, page.body + page.body_len);
}

}  // namespace

std::vector<unsigned char> encodeVorbis(const StereoTrack& track, float quality,
                                        std::string& error) {
  if (track.left.size() != track.right.size() || track.left.empty() || track.rate <= 0) {
    error = "the track is empty or its sides differ in length";
    return {};
  }
  vorbis_info vi;
  vorbis_info_init(&vi);
  if (vorbis_encode_init_vbr(&vi, 2, track.rate, std::clamp(quality, -0.1f, 1.0f)) != 0) {
    vorbis_info_clear(&vi);
    error = "the Vorbis encoder rejected the format";
    return {};
  }
  vorbis_comment vc;
  vorbis_comment_init(&vc);
  vorbis_comment_add_tag(&vc, "TITLE", "Plasmora");
  vorbis_dsp_state vd;
  vorbis_block vb;
  vorbis_analysis_init(&vd, &vi);
  vorbis_block_init(&vd, &vb);
  ogg_stream_state os;
  ogg_stream_init(&os, 0x504C534D);

  std::vector<unsigned char> out;
  ogg_packet header, comments, codebooks;
  vorbis_analysis_headerout(&vd, &vc, &header, &comments, &codebooks);
  ogg_stream_packetin(&os, &header);
  ogg_stream_packetin(&os, &comments);
  ogg_stream_packetin(&os, &codebooks);
  ogg_page page;
  // The headers end on a page of their own, as players expect.
  while (ogg_stream_flush(&os, &page) != 0) appendPage(page, out);

  const size_t total = track.frames();
  size_t done = 0;
  bool finished = false;
  while (!finished) {
    if (done < total) {
      const int chunk = int(std::min<size_t>(4096, total - done));
      float** buffer = vorbis_analysis_buffer(&vd, chunk);
      std::copy_n(track.left.begin() + long(done), chunk, buffer[0]);
      std::copy_n(track.right.begin() + long(done), chunk, buffer[1]);
      vorbis_analysis_wrote(&vd, chunk);
      done += size_t(chunk);
    } else {
      vorbis_analysis_wrote(&vd, 0);  // end of stream
    }
    while (vorbis_analysis_blockout(&vd, &vb) == 1) {
      vorbis_analysis(&vb, nullptr);
      vorbis_bitrate_addblock(&vb);
      ogg_packet packet;
      while (vorbis_bitrate_flushpacket(&vd, &packet) == 1) {
        ogg_stream_packetin(&os, &packet);
        while (ogg_stream_pageout(&os, &page) != 0) {
          appendPage(page, out);
          if (ogg_page_eos(&page)) finished = true;
        }
      }
    }
  }
  ogg_stream_clear(&os);
  vorbis_block_clear(&vb);
  vorbis_dsp_clear(&vd);
  vorbis_comment_clear(&vc);
  vorbis_info_clear(&vi);
  return out;
}
