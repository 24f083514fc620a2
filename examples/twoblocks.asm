; twoblocks.asm - one source text with two programs in it.
; Shows: two START ... END blocks. The first calls the second through
; the label of its START; labels are known in the whole source text.
; Prints a triangle of five rows of stars.
MAIN	START
	LAD	GR1,1		; GR1 = stars in this row
MLOOP	CALL	STARS		; the second block
	LAD	GR1,1,GR1
	CPA	GR1,=6
	JMI	MLOOP		; rows 1 to 5
	RET
	END
;
; STARS: prints one line of GR1 stars (GR1 from 1 to 40).
; Every register keeps its value.
STARS	START
	RPUSH
	ST	GR1,SLEN	; the line is GR1 characters long
	LD	GR2,STAR
	LAD	GR3,0		; GR3 = position in the line
SLOOP	CPA	GR3,GR1
	JZE	SOUT		; line full
	ST	GR2,SBUF,GR3
	LAD	GR3,1,GR3
	JUMP	SLOOP
SOUT	OUT	SBUF,SLEN
	RPOP
	RET
STAR	DC	'*'
SLEN	DS	1
SBUF	DS	40
	END
